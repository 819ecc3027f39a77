#include "core/app/ini_file.h"

#include "core/platform/clock.h"
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
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
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

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    std::string_view lf = "\n", cr = "\r";
    if (bytes.starts_with(kUtf16LeBom)) {
        doc.encoding_ = Encoding::kUtf16Le;
        bytes.remove_prefix(kUtf16LeBom.size());
        if (bytes.size() % 2 != 0) {
            doc.tail_ = bytes.substr(bytes.size() - 1);
            bytes.remove_suffix(1);
        }
        lf = std::string_view("\n\0", 2), cr = std::string_view("\r\0", 2);
    } else if (bytes.starts_with(kUtf8Bom)) {
        doc.encoding_ = Encoding::kUtf8Bom;
        bytes.remove_prefix(kUtf8Bom.size());
    } else if (!text::isValidUtf8(bytes)) {
        doc.encoding_ = Encoding::kCp932;
    }
    // Lines are cut before they are decoded: no decoder then joins a line end to the bytes
    // before it (a code page 932 lead byte would take the line feed as its second byte).
    auto decode = [&](std::string_view content) {
        switch (doc.encoding_) {
            case Encoding::kUtf16Le:
                return fromUtf16Le(content);
            case Encoding::kCp932:
                return text::fromCp932(content);
            case Encoding::kUtf8:
            case Encoding::kUtf8Bom:
                break;
        }
        return text::fromUtf8(content);
    };
    const size_t unit = lf.size();
    bool endSeen = false;
    while (!bytes.empty()) {
        size_t at = 0;
        while (at < bytes.size() && bytes.substr(at, unit) != lf)
            at += unit;
        Line line;
        std::string_view content = bytes.substr(0, at);
        if (at < bytes.size()) {
            const bool crlf = content.ends_with(cr);
            if (crlf)
                content.remove_suffix(unit);
            line.end = crlf ? u"\r\n" : u"\n";
            if (!endSeen)
                doc.lineEnd_ = line.end;
            endSeen = true;
            at += unit;
        }
        line.text = decode(content);
        line.stored = bytes.substr(0, at);
        bytes.remove_prefix(at);
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::encode(std::u16string_view text, Encoding encoding) const {
    switch (encoding) {
        case Encoding::kUtf16Le:
            return toUtf16Le(text);
        case Encoding::kCp932:
            return text::toCp932(text);
        case Encoding::kUtf8:
        case Encoding::kUtf8Bom:
            break;
    }
    return text::toUtf8(text);
}

// A code page 932 document turns into UTF-8 when a changed line holds a character that code
// page cannot hold, and only when every line read reads the same in UTF-8.
bool IniDocument::convertsToUtf8() const {
    if (encoding_ != Encoding::kCp932)
        return false;
    bool needed = false, lossless = true;
    for (const auto& line : lines_) {
        if (line.stored.empty())
            needed = needed || text::fromCp932(text::toCp932(line.text)) != line.text;
        else
            lossless = lossless && text::toCp932(text::fromCp932(line.stored)) == line.stored;
    }
    return needed && lossless;
}

std::string IniDocument::serialize() const {
    const bool toUtf8 = convertsToUtf8();
    const Encoding encoding = toUtf8 ? Encoding::kUtf8 : encoding_;
    std::string out;
    if (encoding == Encoding::kUtf8Bom)
        out = kUtf8Bom;
    else if (encoding == Encoding::kUtf16Le)
        out = kUtf16LeBom;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.stored.empty() || toUtf8)
            out += encode(line.text + line.end, encoding);
        else
            out += line.stored;
        // A last line without a line end that is no longer last gets one.
        if (line.end.empty() && i + 1 < lines_.size())
            out += encode(lineEnd_, encoding);
    }
    out += tail_;
    // Bytes of an undecodable file name (kept as escapes, see utf.h) make UTF-8 invalid, and
    // only the byte-order mark keeps such a file from being read back as code page 932.
    if (encoding == Encoding::kUtf8 && !text::isValidUtf8(out))
        out.insert(0, kUtf8Bom);
    return out;
}

const IniDocument::Index& IniDocument::index() const {
    if (index_)
        return *index_;
    index_.emplace();
    Section* open = nullptr;  // the first section of its name that the walk is in
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::u16string& line = lines_[i].text;
        if (auto name = sectionName(line)) {
            if (open)
                open->end = i;
            auto [at, added] =
                index_->try_emplace(text::upperAscii(*name), Section{i, lines_.size(), {}});
            open = added ? &at->second : nullptr;
        } else if (auto key = keyName(line); key && open) {
            open->keys.try_emplace(text::upperAscii(*key), i);
        }
    }
    return *index_;
}

const IniDocument::Section* IniDocument::findSection(std::u16string_view section) const {
    const Index& sections = index();
    const auto at = sections.find(text::upperAscii(section));
    return at == sections.end() ? nullptr : &at->second;
}

size_t IniDocument::findKey(std::u16string_view section, std::u16string_view key) const {
    const Section* s = findSection(section);
    if (!s)
        return npos;
    const auto at = s->keys.find(text::upperAscii(key));
    return at == s->keys.end() ? npos : at->second;
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    size_t at = findKey(section, key);
    if (at == npos)
        return std::nullopt;
    std::u16string_view line = lines_[at].text;
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
    std::u16string text;
    if (value)
        text = std::u16string(key) + u'=' + storedForm(*value);
    const Section* s = findSection(section);
    if (!s) {
        if (!value)
            return false;
        lines_.push_back(Line{u'[' + std::u16string(section) + u']', lineEnd_, {}});
        lines_.push_back(Line{std::move(text), lineEnd_, {}});
        index_.reset();
        return true;
    }
    size_t at = findKey(section, key);
    if (at != npos) {
        if (!value) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
            index_.reset();
            return true;
        }
        if (lines_[at].text == text)
            return false;
        // The same key in capital letters: the index stays right.
        lines_[at].text = std::move(text);
        lines_[at].stored.clear();
        return true;
    }
    if (!value)
        return false;
    size_t insertAt = s->header + 1;
    for (size_t i = s->end; i > s->header + 1; --i) {
        if (keyName(lines_[i - 1].text)) {
            insertAt = i;
            break;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  Line{std::move(text), lineEnd_, {}});
    index_.reset();
    return true;
}

IniFile::IniFile(std::u16string path) : path_(std::move(path)) {}

IniFile::Cache::Cache() = default;

const IniFile::Cache& IniFile::current() const {
    if (pending_)
        return *cache_;
    const auto stamp = platform::fileStamp(path_);
    if (cache_ && cache_->settled && cache_->stamp == stamp)
        return *cache_;
    cache_.emplace();
    cache_->stamp = stamp;
    // File times advance in ticks of the system's coarse clock, at most 10 ms apart, or in
    // whole seconds (two on some) on a file system that keeps no fractions of a second: a file
    // changed within a tick may change again without a new stamp.
    if (stamp) {
        const bool fractions = stamp->modified.nanoseconds != 0;
        const std::int64_t stepNanoseconds = fractions ? 20'000'000 : 2'000'000'000;
        const auto nanoseconds = [](platform::FileTime t) {
            return t.seconds * 1'000'000'000 + t.nanoseconds;
        };
        cache_->settled =
            nanoseconds(stamp->modified) + stepNanoseconds < nanoseconds(platform::now());
    } else {
        cache_->settled = true;
    }
    if (!platform::isTrustedFile(path_)) {
        cache_->writable = false;
        return *cache_;
    }
    auto bytes = platform::readFile(path_);
    if (bytes)
        cache_->doc = IniDocument::parse(*bytes);
    // A file that exists but cannot be read is left alone rather than replaced by one key.
    cache_->writable = bytes || !platform::exists(path_);
    return *cache_;
}

void IniFile::change(std::u16string_view section, std::u16string_view key,
                     std::optional<std::u16string_view> value) {
    if (!current().writable || !cache_->doc.write(section, key, value))
        return;
    pending_ = true;
    if (batchDepth_ == 0)
        flush();
}

void IniFile::flush() {
    // A failed write keeps the old file whole and is not reported, as the profile functions
    // do: settings are a convenience, and the caller has nothing better to do about it.
    (void)platform::writeFileAtomic(path_, cache_->doc.serialize());
    // Read back at the next read: another process may write the file right after this one.
    pending_ = false;
    cache_.reset();
}

IniFile::Batch::~Batch() {
    if (--ini_.batchDepth_ == 0 && ini_.pending_)
        ini_.flush();
}

std::int32_t IniFile::readInt(std::u16string_view section, std::u16string_view key,
                              std::int32_t def) const {
    return current().doc.readInt(section, key, def);
}

std::u16string IniFile::readString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view def) const {
    return current().doc.value(section, key).value_or(std::u16string(def));
}

std::optional<std::vector<std::uint8_t>> IniFile::readBinary(std::u16string_view section,
                                                             std::u16string_view key) const {
    return current().doc.readBinary(section, key);
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
