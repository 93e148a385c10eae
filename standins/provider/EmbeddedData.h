// The word lists and tables built into the library (from data/*.tsv).
#pragma once

namespace provider {
extern const char kPinyinData[];  // character → pinyin, for index texts
extern const char kNamesData[];   // names of people
extern const char kPlacesData[];  // cities, streets, companies, job titles
extern const char kTextsData[];   // messages, event topics, places, remarks, group names
}  // namespace provider
