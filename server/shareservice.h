#pragma once

#include "wordlists/sharedpage.h"

#include <map>
#include <string>
#include <variant>

class ShareDb;
namespace httplib {
class Server;
}

// The longest texts a submission may carry, in characters. With them every accepted request
// line stays within the 8 KiB that the HTTP library reads, even when each character takes
// four UTF-8 bytes, each sent as %XX.
inline constexpr int kMaxTitle = 100;
inline constexpr int kMaxWord = 50;
inline constexpr int kMaxName = 50;

using QueryParams = std::multimap<std::string, std::string>;

// The query of a request target, split at each "&" and each piece at its first "=", then
// percent-decoded with "+" read as a space. A value keeps any further "=".
QueryParams parsequery(const std::string &target);

// The query of a submission, decoded: exactly the keys appid (which must be "1"), w0 .. w9 and
// n1, each once; every value UTF-8, not blank, without line breaks or other control characters,
// and not too long. The record, or the reason it was refused.
std::variant<SharedRecord, std::string> checksubmission(const QueryParams &params);

// The two requests: GET /pellimo/wordlist.php?appid=1 (the page of published lists) and
// GET /pellimo/checkadd.php?... (a submission, stored pending unless publishAll). Anything else
// is 404. One line per request goes to stderr.
void addroutes(httplib::Server &server, ShareDb &db, bool publishAll);
