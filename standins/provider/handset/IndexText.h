// The index text of a contact: what the handset files and finds it by. Latin
// letters are taken as they are (upper case); a Chinese character is replaced
// by its pinyin from the handset's table (upper case), so that 张伟 files
// under Z as "ZHANGWEI". Digits are kept; other characters are dropped, except
// a Chinese character the table does not know, which is kept as it is.
#pragma once
#include <string>
#include <string_view>

namespace handset {

// Reads the table ("character<TAB>pinyin" per line); answers the number of
// characters known. Called once before use; later calls replace the table.
size_t LoadPinyinTable(std::string_view utf8);
size_t PinyinTableSize();

// The pinyin of one character, lower case; empty when unknown.
std::wstring PinyinOf(wchar_t character);

std::wstring IndexTextOf(const std::wstring& name);

}  // namespace handset
