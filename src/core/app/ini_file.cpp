#include "core/app/ini_file.h"

#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/cp932.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr auto npos = std::u16string_view::npos;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isQuoted(std::u16string_view s) {
    return s.size() >= 2 && s.front() == u'"' && s.back() == u'"';
}

// The name of a "[section]" line; a missing "]" ends the name at the end of the line.
std::optional<std::u16string_view> sectionName(std::u16string_view line) {
    std::u16string_view t = trim(line);
    if (t.empty() || t.front() != u'[')
        return std::nullopt;
    t.remove_prefix(1);
    return trim(t.substr(0, t.find(u']')));
}

// The key of a "key=value" line; comment lines (";") are never keys.
std::optional<std::u16string_view> keyName(std::u16string_view line) {
    std::u16string_view t = trim(line);
    if (t.empty() || t.front() == u';' || t.front() == u'[')
        return std::nullopt;
    size_t equals = t.find(u'=');
    if (equals == npos)
        return std::nullopt;
    return trim(t.substr(0, equals));
}

std::u16string fromUtf16Le(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

std::string toUtf16Le(std::u16string_view text) {
    std::string out(kUtf16LeBom);
    out.reserve(out.size() + text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// UTF-8 without a byte-order mark, unless the text holds bytes of an undecodable file name
// (kept as escapes, see utf.h): those make the file invalid UTF-8, and only the mark keeps
// it from being read back as code page 932.
std::string toUtf8File(std::u16string_view text, bool withBom) {
    std::string bytes = text::toUtf8(text);
    if (withBom || !text::isValidUtf8(bytes))
        bytes.insert(0, kUtf8Bom);
    return bytes;
}

// The value text as written after "=": it must read back unchanged, and must stay on its
// line.
std::u16string storedForm(std::u16string_view value) {
    std::u16string out;
    for (char16_t c : value) {
        if (c != u'\r' && c != u'\n')
            out += c;
    }
    if (!out.empty() && (isBlank(out.front()) || isBlank(out.back()) || isQuoted(out)))
        out = u'"' + out + u'"';
    return out;
}

struct SectionLines {
    size_t header;
    size_t end;  // the next section's header, or the end of the file
};

std::optional<SectionLines> findSection(const std::vector<std::u16string>& lines,
                                        std::u16string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (!name || !text::equalsIgnoreAsciiCase(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end]))
            ++end;
        return SectionLines{i, end};
    }
    return std::nullopt;
}

size_t findKey(const std::vector<std::u16string>& lines, SectionLines s, std::u16string_view key) {
    for (size_t i = s.header + 1; i < s.end; ++i) {
        auto name = keyName(lines[i]);
        if (name && text::equalsIgnoreAsciiCase(*name, key))
            return i;
    }
    return npos;
}

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    std::u16string content;
    if (bytes.starts_with(kUtf16LeBom)) {
        doc.encoding_ = Encoding::kUtf16Le;
        content = fromUtf16Le(bytes.substr(kUtf16LeBom.size()));
    } else if (bytes.starts_with(kUtf8Bom)) {
        doc.encoding_ = Encoding::kUtf8Bom;
        content = text::fromUtf8(bytes.substr(kUtf8Bom.size()));
    } else if (text::isValidUtf8(bytes)) {
        content = text::fromUtf8(bytes);
    } else {
        doc.encoding_ = Encoding::kCp932;
        content = text::fromCp932(bytes);
    }
    std::u16string_view rest = content;
    while (!rest.empty()) {
        size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        if (line.ends_with(u'\r'))
            line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        rest.remove_prefix(end == npos ? rest.size() : end + 1);
    }
    return doc;
}

std::string IniDocument::serialize() const {
    std::u16string content;
    for (const auto& line : lines_) {
        content += line;
        content += u"\r\n";
    }
    switch (encoding_) {
        case Encoding::kUtf16Le:
            return toUtf16Le(content);
        case Encoding::kCp932: {
            std::string bytes = text::toCp932(content);
            if (text::fromCp932(bytes) == content)
                return bytes;
            return toUtf8File(content, false);
        }
        case Encoding::kUtf8Bom:
            return toUtf8File(content, true);
        case Encoding::kUtf8:
            break;
    }
    return toUtf8File(content, false);
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    auto s = findSection(lines_, section);
    if (!s)
        return std::nullopt;
    size_t at = findKey(lines_, *s, key);
    if (at == npos)
        return std::nullopt;
    std::u16string_view line = lines_[at];
    std::u16string_view v = trim(line.substr(line.find(u'=') + 1));
    if (isQuoted(v))
        v = v.substr(1, v.size() - 2);
    return std::u16string(v);
}

std::int32_t IniDocument::readInt(std::u16string_view section, std::u16string_view key,
                                  std::int32_t def) const {
    auto v = value(section, key);
    if (!v)
        return def;
    std::u16string_view number = trim(*v);
    if (!number.empty() && (number.front() == u'-' || number.front() == u'+'))
        number.remove_prefix(1);
    if (number.empty() || number.front() < u'0' || number.front() > u'9')
        return def;
    return text::leadingInt(*v);
}

std::optional<std::vector<std::uint8_t>> IniDocument::readBinary(std::u16string_view section,
                                                                 std::u16string_view key) const {
    auto v = value(section, key);
    if (!v || v->size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(v->size() / 2);
    for (size_t i = 0; i < v->size(); i += 2) {
        char16_t low = (*v)[i], high = (*v)[i + 1];
        if (low < u'A' || low > u'P' || high < u'A' || high > u'P')
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>((low - u'A') | ((high - u'A') << 4)));
    }
    return bytes;
}

bool IniDocument::write(std::u16string_view section, std::u16string_view key,
                        std::optional<std::u16string_view> value) {
    std::u16string line;
    if (value)
        line = std::u16string(key) + u'=' + storedForm(*value);
    auto s = findSection(lines_, section);
    if (!s) {
        if (!value)
            return false;
        lines_.push_back(u'[' + std::u16string(section) + u']');
        lines_.push_back(std::move(line));
        return true;
    }
    size_t at = findKey(lines_, *s, key);
    if (at != npos) {
        if (!value) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
            return true;
        }
        if (lines_[at] == line)
            return false;
        lines_[at] = std::move(line);
        return true;
    }
    if (!value)
        return false;
    size_t insertAt = s->header + 1;
    for (size_t i = s->header + 1; i < s->end; ++i) {
        if (keyName(lines_[i]))
            insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

IniFile::IniFile(std::u16string path) : path_(std::move(path)) {}

IniDocument IniFile::load() const {
    auto bytes = platform::readFile(path_);
    return bytes ? IniDocument::parse(*bytes) : IniDocument();
}

void IniFile::change(std::u16string_view section, std::u16string_view key,
                     std::optional<std::u16string_view> value) {
    auto bytes = platform::readFile(path_);
    // A file that exists but cannot be read is left alone rather than replaced by one key.
    if (!bytes && platform::exists(path_))
        return;
    IniDocument doc = bytes ? IniDocument::parse(*bytes) : IniDocument();
    // A failed write keeps the old file whole and is not reported, as the profile functions
    // do: settings are a convenience, and the caller has nothing better to do about it.
    if (doc.write(section, key, value))
        (void)platform::writeFileAtomic(path_, doc.serialize());
}

std::int32_t IniFile::readInt(std::u16string_view section, std::u16string_view key,
                              std::int32_t def) const {
    return load().readInt(section, key, def);
}

std::u16string IniFile::readString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view def) const {
    return load().value(section, key).value_or(std::u16string(def));
}

std::optional<std::vector<std::uint8_t>> IniFile::readBinary(std::u16string_view section,
                                                             std::u16string_view key) const {
    return load().readBinary(section, key);
}

void IniFile::writeInt(std::u16string_view section, std::u16string_view key, std::int32_t value) {
    change(section, key, text::decimal(value));
}

void IniFile::writeString(std::u16string_view section, std::u16string_view key,
                          std::optional<std::u16string_view> value) {
    change(section, key, value);
}

void IniFile::deleteKey(std::u16string_view section, std::u16string_view key) {
    change(section, key, std::nullopt);
}

void IniFile::writeBinary(std::u16string_view section, std::u16string_view key,
                          std::span<const std::uint8_t> bytes) {
    std::u16string letters;
    letters.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        letters += static_cast<char16_t>(u'A' + (b & 0x0F));
        letters += static_cast<char16_t>(u'A' + (b >> 4));
    }
    change(section, key, letters);
}

IniFile defaultIniFile() {
    return IniFile(platform::settingsFolder() + u"ソラミネ.ini");
}

}  // namespace soramine
