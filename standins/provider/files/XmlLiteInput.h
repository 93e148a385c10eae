// The bytes of an XML document in the form Wine's XmlLite reads correctly.
// Its reader garbles a UTF-8 character that straddles its read buffer,
// overruns memory on UTF-16 input and aborts on input that ends inside or
// right after the declaration. So it is given ASCII: every character past
// ASCII in text and attribute values as a character reference, CDATA sections
// as escaped text, a UTF-8 declaration of our own and white space after the
// document. Line numbers stay those of the file.
#pragma once
#include <string>
#include <string_view>

namespace files {

// Reads UTF-8 (with or without a byte-order mark), UTF-16 with a byte-order
// mark, and any encoding the declaration names that TextCodec decodes.
std::string XmlLiteInput(std::string_view bytes);

}  // namespace files
