#include "css/css_scan.h"

#include <array>
#include <utility>

#include "model/text_util.h"

namespace larkspur::css_scan {
namespace {

bool StartsUrl(std::string_view text, size_t at) {
    if (at + 4 > text.size() || !StartsWithIgnoreCase(text.substr(at), "url(")) return false;
    // Part of a longer name ("myurl(") is no url token.
    if (at > 0) {
        const char before = text[at - 1];
        if (IsAsciiLetter(before) || IsAsciiDigit(before) || before == '-' || before == '_') return false;
    }
    size_t i = at + 4;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    return i >= text.size() || (text[i] != '"' && text[i] != '\'');
}

// After "url(" of an unquoted url: past its ")". A url that does not close
// before a blank, a quote or the end is no url token: its text is read as
// any other, so a ";" or "}" after it still ends what it stands in. `open`
// tells whether it failed only for want of text: more text (a ")") would
// have closed it.
size_t UrlEnd(std::string_view text, size_t at, bool* open = nullptr) {
    if (open) *open = true;
    size_t i = at + 4;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ')') return i + 1;
        if (c == '\\') {
            if (i + 1 >= text.size()) return npos;
            if (text[i + 1] == '\n' || text[i + 1] == '\r') break;
            i += 2;
            continue;
        }
        if (IsAsciiSpace(c)) {
            while (i < text.size() && IsAsciiSpace(text[i])) ++i;
            if (i >= text.size()) return npos;
            if (text[i] == ')') return i + 1;
            break;
        }
        if (c == '"' || c == '\'' || c == '(') break;
        ++i;
    }
    if (open) *open = i >= text.size();
    return npos;
}

// Bytes that can start or end structure, a comment, a string, an escape or a
// url(: the scanners step over every other byte in a tight loop.
constexpr auto kMatters = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : std::string_view("{};/\"'\\uU")) t[c] = true;
    return t;
}();

size_t SkipPlain(std::string_view text, size_t i) {
    const auto matters = [&](size_t at) { return kMatters[static_cast<unsigned char>(text[at])]; };
    // Four at a time with one bound check: most of a sheet is plain bytes.
    for (; i + 4 <= text.size(); i += 4) {
        if (matters(i)) return i;
        if (matters(i + 1)) return i + 1;
        if (matters(i + 2)) return i + 2;
        if (matters(i + 3)) return i + 3;
    }
    while (i < text.size() && !matters(i)) ++i;
    return i;
}

}  // namespace

size_t SkipComment(std::string_view text, size_t at) {
    const size_t end = text.find("*/", at + 2);
    return end == npos ? text.size() : end + 2;
}

namespace {

// Past one escape at `at` (a backslash); a backslash before CR LF takes both.
size_t SkipEscape(std::string_view text, size_t at) {
    if (at + 2 < text.size() && text[at + 1] == '\r' && text[at + 2] == '\n') return at + 3;
    return at + 2 <= text.size() ? at + 2 : text.size();
}

// The end of the string at `at`, and whether its closing quote was there.
std::pair<size_t, bool> ScanString(std::string_view text, size_t at) {
    const char quote = text[at];
    for (size_t i = at + 1; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {
            i = SkipEscape(text, i);
            continue;
        }
        if (c == quote) return {i + 1, true};
        if (c == '\n' || c == '\r' || c == '\f') return {i, false};
        ++i;
    }
    return {text.size(), false};
}

// At a quote: the position after the closing quote. A string ends unclosed
// at a line break (which it does not take) or at the end of the text.
size_t SkipString(std::string_view text, size_t at) { return ScanString(text, at).first; }

// Past whatever starts at `at` when it is a comment, string or url(...):
// otherwise at + 1.
size_t SkipToken(std::string_view text, size_t at) {
    const char c = text[at];
    if (c == '/' && at + 1 < text.size() && text[at + 1] == '*') return SkipComment(text, at);
    if (c == '"' || c == '\'') return SkipString(text, at);
    if (c == '\\') return SkipEscape(text, at);
    if ((c == 'u' || c == 'U') && StartsUrl(text, at))
        if (const size_t end = UrlEnd(text, at); end != npos) return end;
    return at + 1;
}

}  // namespace

size_t FindStructural(std::string_view text, size_t from, std::string_view stops) {
    int depth = 0;
    for (size_t i = from; (i = SkipPlain(text, i)) < text.size();) {
        const char c = text[i];
        if (depth == 0 && stops.find(c) != std::string_view::npos) return i;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth > 0) --depth;
        } else {
            i = SkipToken(text, i);
            continue;
        }
        ++i;
    }
    return npos;
}

size_t FindBlockEnd(std::string_view text, size_t open) {
    int depth = 0;
    for (size_t i = open; (i = SkipPlain(text, i)) < text.size();) {
        const char c = text[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) return i;
        } else {
            i = SkipToken(text, i);
            continue;
        }
        ++i;
    }
    return npos;
}

std::string CloseOpenParts(std::string_view text) {
    std::string out;
    size_t copied = 0;
    int depth = 0;
    for (size_t i = 0; (i = SkipPlain(text, i)) < text.size();) {
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            if (text.find("*/", i + 2) == npos) {
                out.append(text.substr(copied));
                out += "*/";
                copied = text.size();
                break;
            }
            i = SkipComment(text, i);
            continue;
        }
        if (c == '"' || c == '\'') {
            const auto [end, closed] = ScanString(text, i);
            if (!closed) {
                out.append(text.substr(copied, end - copied));
                // A backslash left dangling at the end would escape the quote.
                size_t run = 0;
                for (size_t k = end; k > i + 1 && text[k - 1] == '\\'; --k) ++run;
                if (run % 2) out += c;
                out += c;
                copied = end;
            }
            i = end;
            continue;
        }
        if (c == '\\' && i + 1 == text.size()) {
            // A backslash at the end would escape whatever the writer puts next.
            out.append(text.substr(copied));
            out += ' ';
            copied = text.size();
            break;
        }
        if ((c == 'u' || c == 'U') && StartsUrl(text, i)) {
            bool open = false;
            if (const size_t end = UrlEnd(text, i, &open); end != npos) {
                i = end;
                continue;
            }
            if (open && text.find_first_of("{};", i) == npos) {
                // A url running to the end would take in what is written
                // after it (a " {" and a line starting with ")"): closed,
                // where that leaves every brace and semicolon as it was.
                out.append(text.substr(copied));
                if (text.back() == '\\') out += ' ';
                out += ')';
                copied = text.size();
                break;
            }
        }
        if (c == '{') ++depth;
        if (c == '}' && depth > 0) --depth;
        i = SkipToken(text, i);
    }
    if (copied == 0 && depth == 0) return std::string(text);
    out.append(text.substr(copied));
    out.append(static_cast<size_t>(depth), '}');
    return out;
}

size_t FindStyleEndTag(std::string_view text, size_t from) {
    constexpr std::string_view kEnd = "</STYLE";
    while ((from = text.find("</", from)) != npos) {
        if (StartsWithIgnoreCase(text.substr(from), kEnd)) return from;
        from += 2;
    }
    return npos;
}

void AppendInStyleElement(std::string& out, std::string_view text) {
    size_t copied = 0, token = 0, tokenEnd = 0;
    for (size_t hit = FindStyleEndTag(text); hit != npos; hit = FindStyleEndTag(text, hit + 1)) {
        // The token holding the "<": a comment, a string, a url(), an escape
        // or plain text.
        while (tokenEnd <= hit) {
            token = tokenEnd;
            tokenEnd = kMatters[static_cast<unsigned char>(text[token])] ? SkipToken(text, token)
                                                                        : SkipPlain(text, token);
        }
        const char c = text[token];
        const bool comment = c == '/' && tokenEnd > token + 1;
        const bool quoted = c == '"' || c == '\'' || ((c == 'u' || c == 'U') && tokenEnd > token + 1);
        out.append(text.substr(copied, hit + 1 - copied));
        out += comment ? "*//*" : quoted ? "\\" : "/**/";
        copied = hit + 1;
    }
    out.append(text.substr(copied));
}

}  // namespace larkspur::css_scan
