#include "shareservice.h"

#include "sharedb.h"

#include <httplib.h>

#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
bool isbreaking(char32_t c)
{
    // Controls (line ends among them) and the Unicode line and paragraph separators: any of them
    // could split a record's line on the page.
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

std::optional<std::string> checkvalue(const std::string &key, const std::string &bytes,
                                      int maxLength, QString &text)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (utf8.hasError())
        return key + " is not UTF-8";
    // The client strips the same characters from both ends when it checks for an empty text.
    qsizetype first = 0;
    while (first < text.size() && text.at(first).unicode() <= 0x20)
        ++first;
    if (first == text.size())
        return key + " is empty";
    const QList<uint> characters = text.toUcs4();
    for (const uint c : characters)
        if (isbreaking(c))
            return key + " holds a line break or another control character";
    if (characters.size() > maxLength)
        return key + " is longer than " + std::to_string(maxLength) + " characters";
    return std::nullopt;
}

int hexdigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "+" is a space; %XX the byte XX; a "%" that starts no such pair stays as it is.
std::string formdecode(QByteArrayView text)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        const int high = c == '%' && i + 2 < text.size() ? hexdigit(text.at(i + 1)) : -1;
        const int low = high >= 0 ? hexdigit(text.at(i + 2)) : -1;
        if (low >= 0) {
            out += char(high * 16 + low);
            i += 2;
        } else {
            out += c == '+' ? ' ' : c;
        }
    }
    return out;
}

void plain(httplib::Response &res, int status, const std::string &text)
{
    res.status = status;
    res.set_content(text + "\n", "text/plain; charset=utf-8");
}

// Whatever the client sent, one printable line.
std::string printable(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || b == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

void logrequest(const httplib::Request &req, const httplib::Response &res)
{
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    if (gmtime_r(&now, &utc))
        std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &utc);
    // The path only: the query carries the players' names and lists.
    std::fprintf(stderr, "%s %s %s %s %d %zu\n", when, printable(req.remote_addr).c_str(),
                 printable(req.method).c_str(), printable(req.path).c_str(), res.status,
                 res.body.size());
}
} // namespace

QueryParams parsequery(const std::string &target)
{
    QueryParams params;
    const std::size_t mark = target.find('?');
    if (mark == std::string::npos)
        return params;
    QByteArray query = QByteArray::fromStdString(target.substr(mark + 1));
    if (const qsizetype hash = query.indexOf('#'); hash >= 0)
        query.truncate(hash);
    for (const QByteArray &piece : query.split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype eq = piece.indexOf('=');
        const QByteArrayView whole(piece);
        params.emplace(formdecode(eq < 0 ? whole : whole.first(eq)),
                       formdecode(eq < 0 ? QByteArrayView() : whole.sliced(eq + 1)));
    }
    return params;
}

std::variant<SharedRecord, std::string> checksubmission(const QueryParams &params)
{
    static const char *const keys[] = {"appid", "w0", "w1", "w2", "w3", "w4",
                                       "w5",    "w6", "w7", "w8", "w9", "n1"};
    for (const auto &[key, value] : params) {
        if (std::find_if(std::begin(keys), std::end(keys),
                         [&key](const char *k) { return key == k; }) == std::end(keys))
            return "unknown key " + printable(key);
    }
    for (const char *key : keys) {
        const auto count = params.count(key);
        if (count == 0)
            return std::string("missing ") + key;
        if (count > 1)
            return std::string("more than one ") + key;
    }
    if (params.find("appid")->second != "1")
        return std::string("unknown appid");

    SharedRecord record;
    for (int n = 0; n <= 9; ++n) {
        const std::string key = "w" + std::to_string(n);
        QString &text = n == 0 ? record.list.title : record.list.words[n - 1];
        if (auto refused =
                checkvalue(key, params.find(key)->second, n == 0 ? kMaxTitle : kMaxWord, text))
            return *refused;
    }
    if (auto refused = checkvalue("n1", params.find("n1")->second, kMaxName, record.publisher))
        return *refused;
    return record;
}

void addroutes(httplib::Server &server, ShareDb &db, bool publishAll)
{
    server.Get(
        R"(/pellimo/wordlist\.php)", [&db](const httplib::Request &req, httplib::Response &res) {
            const QueryParams params = parsequery(req.target);
            if (params.count("appid") != 1 || params.find("appid")->second != "1")
                return plain(res, 400, "unknown appid");
            std::string error;
            const std::optional<QList<SharedRecord>> records = db.published(error);
            if (!records) {
                std::fprintf(stderr, "database: %s\n", error.c_str());
                return plain(res, 500, "the lists cannot be read");
            }
            res.set_content(sharedpagetext(*records).toStdString(), "text/plain; charset=utf-8");
        });

    server.Get(R"(/pellimo/checkadd\.php)", [&db, publishAll](const httplib::Request &req,
                                                              httplib::Response &res) {
        // The library answers HEAD with the GET handler; a look must not store anything.
        if (req.method != "GET")
            return plain(res, 405, "GET only");
        const auto checked = checksubmission(parsequery(req.target));
        if (const auto *refused = std::get_if<std::string>(&checked))
            return plain(res, 400, *refused);
        std::string error;
        const auto status = publishAll ? ShareDb::Status::Approved : ShareDb::Status::Pending;
        if (!db.add(std::get<SharedRecord>(checked), status, error)) {
            std::fprintf(stderr, "database: %s\n", error.c_str());
            return plain(res, 500, "the list cannot be stored");
        }
        plain(res, 200, "OK");
    });

    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (res.body.empty())
            plain(res, res.status, res.status == 404 ? "not found" : "error");
    });
    server.set_exception_handler([](const httplib::Request &, httplib::Response &res,
                                    std::exception_ptr) { plain(res, 500, "internal error"); });
    server.set_logger(logrequest);
}
