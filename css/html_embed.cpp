#include "css/html_embed.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "css/sheet_document.h"
#include "model/text_util.h"

namespace larkspur {
namespace {

constexpr size_t npos = std::string::npos;
constexpr std::string_view kStyleOpen = "<STYLE";
constexpr std::string_view kStyleClose = "/STYLE>";
constexpr std::string_view kHeadEnd = "</HEAD>";
constexpr std::string_view kHeadStart = "<HEAD";
constexpr std::string_view kHtmlStart = "<HTML";
constexpr std::string_view kDoctype = "<!DOCTYPE";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Span {
    size_t start;
    size_t end;  // one past the ">" of "/STYLE>"
};

struct PageScan {
    std::string upper;
    std::vector<Span> elements;  // complete style elements, in page order
    size_t unclosed = npos;      // a "<STYLE" with no "/STYLE>" after it
};

PageScan ScanPage(std::string_view page) {
    PageScan s;
    s.upper = AsciiUpperCopy(page);
    size_t pos = 0;
    for (;;) {
        size_t open = s.upper.find(kStyleOpen, pos);
        if (open == npos) break;
        size_t close = s.upper.find(kStyleClose, open + kStyleOpen.size());
        if (close == npos) {
            s.unclosed = open;
            break;
        }
        pos = close + kStyleClose.size();
        s.elements.push_back({open, pos});
    }
    return s;
}

const Span* ElementAt(const PageScan& s, size_t pos) {
    auto it = std::upper_bound(s.elements.begin(), s.elements.end(), pos,
                               [](size_t p, const Span& e) { return p < e.start; });
    if (it == s.elements.begin()) return nullptr;
    --it;
    return pos < it->end ? &*it : nullptr;
}

// First occurrence of an upper-case needle that is not inside a style element.
size_t FindOutside(const PageScan& s, std::string_view needle) {
    size_t pos = 0;
    while ((pos = s.upper.find(needle, pos)) != npos) {
        const Span* inside = ElementAt(s, pos);
        if (!inside) return pos;
        pos = inside->end;
    }
    return npos;
}

bool EndsTagName(const std::string& upper, size_t pos) {
    if (pos >= upper.size()) return false;
    char c = upper[pos];
    return IsAsciiSpace(c) || c == '>' || c == '/';
}

// Position of the named start tag ("<HEAD" and not "<HEADER"); npos if none.
size_t FindStartTag(const PageScan& s, std::string_view name) {
    size_t pos = 0;
    while ((pos = s.upper.find(name, pos)) != npos) {
        if (const Span* inside = ElementAt(s, pos)) {
            pos = inside->end;
            continue;
        }
        if (EndsTagName(s.upper, pos + name.size())) return pos;
        pos += name.size();
    }
    return npos;
}

// One past the ">" closing the named start tag; npos without one.
size_t StartTagEnd(const PageScan& s, std::string_view name) {
    size_t tag = FindStartTag(s, name);
    if (tag == npos) return npos;
    size_t close = s.upper.find('>', tag);
    return close == npos ? npos : close + 1;
}

size_t LeadingDoctypeEnd(const PageScan& s) {
    std::string_view text = s.upper;
    size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
    if (text.substr(pos).starts_with(kDoctype)) {
        size_t close = text.find('>', pos);
        if (close != npos) return close + 1;
    }
    return npos;
}

struct InsertPoint {
    size_t pos;
    bool needsHead;  // the page has no head: wrap the block in one
};

InsertPoint FindInsertPoint(const PageScan& s) {
    InsertPoint at{0, true};
    if (size_t end = FindOutside(s, kHeadEnd); end != npos) {
        at = {end, false};
    } else if (size_t head = StartTagEnd(s, kHeadStart); head != npos) {
        at = {head, false};  // the end tag of a head may be left out
    } else if (size_t html = StartTagEnd(s, kHtmlStart); html != npos) {
        at = {html, true};
    } else if (size_t doctype = LeadingDoctypeEnd(s); doctype != npos) {
        at = {doctype, true};
    }
    // Past an unclosed "<STYLE" a browser reads everything as style text.
    if (s.unclosed != npos && at.pos > s.unclosed) at.pos = s.unclosed;
    return at;
}

// The page without the removed spans, with text inserted at position `at`
// of the original page (which must not lie inside a removed span).
std::string Assemble(std::string_view page, const std::vector<Span>& removed, size_t at,
                     std::string_view text) {
    std::string out;
    out.reserve(page.size() + text.size());
    size_t pos = 0;
    bool placed = text.empty();
    auto copyUpTo = [&](size_t end) {
        if (!placed && at >= pos && at <= end) {
            out.append(page.substr(pos, at - pos));
            out.append(text);
            placed = true;
            pos = at;
        }
        out.append(page.substr(pos, end - pos));
    };
    for (const Span& e : removed) {
        copyUpTo(e.start);
        pos = e.end;
    }
    copyUpTo(page.size());
    return out;
}

std::string HeadWrapped(std::string_view block) {
    std::string text = "<HEAD>";
    text += block;
    text += "</HEAD>";
    return text;
}

std::string InsertInto(std::string_view page, const PageScan& s, std::string_view block) {
    InsertPoint at = FindInsertPoint(s);
    return Assemble(page, {}, at.pos, at.needsHead ? HeadWrapped(block) : std::string(block));
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string TitleOf(const std::string& path) {
    std::string name = path.substr(FolderOf(path).size());
    size_t dot = name.rfind('.');
    if (dot != npos && dot > 0) name.erase(dot);
    return name;
}

// Reads a page that is about to be rewritten. A page without write
// permission is refused even where the rename beside it would succeed.
IoResult ReadPageToRewrite(const std::string& path, std::string& page) {
    if (IoResult r = ReadWholeFile(path, page); !r) return r;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return IoResult::FailureErrno("open", path, errno);
    if ((st.st_mode & 0222) == 0)
        return IoResult::Failure("write", path, "the file is read-only");
    if (::access(path.c_str(), W_OK) != 0)
        return IoResult::FailureErrno("write", path, errno);
    return {};
}

// URL path text for a folder: bytes that would end the attribute or change
// the URL's meaning are percent-encoded; an ordinary folder is unchanged.
std::string FolderUrl(std::string_view folder) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : folder) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || std::strchr("\"#%<>?'", ch)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

bool HasStyleElement(std::string_view page) { return !ScanPage(page).elements.empty(); }

std::string RemoveStyleElements(std::string_view page) {
    PageScan s = ScanPage(page);
    return Assemble(page, s.elements, 0, {});
}

std::string InsertStyleBlock(std::string_view page, std::string_view block) {
    return InsertInto(page, ScanPage(page), block);
}

std::string PlaceStyleBlock(std::string_view page, std::string_view block) {
    PageScan s = ScanPage(page);
    if (s.elements.empty()) return InsertInto(page, s, block);
    size_t headEnd = FindOutside(s, kHeadEnd);
    // The last element in the head takes the block; with every element in
    // the body the block goes before the head's end tag instead.
    size_t at = headEnd;
    for (const Span& e : s.elements)
        if (e.start < headEnd) at = e.start;
    return Assemble(page, s.elements, at, block);
}

std::string NewPageText(std::string_view block, std::string_view title) {
    std::string out = "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>";
    out += EscapeHtml(title);
    out += "</title>\r\n";
    out += block;
    out += "\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n";
    return out;
}

EmbedResult EmbedStyleBlock(const SheetDocument& doc, const std::string& pagePath, bool silent,
                            StyleQuestion* asker, MissingPage missing) {
    EmbedResult result;
    struct stat st;
    if (::stat(pagePath.c_str(), &st) != 0) {
        int err = errno;
        if (err == ENOENT && missing == MissingPage::kCreate) {
            result.io = ReplaceFileContents(pagePath,
                                            NewPageText(doc.BuildStyleBlock(), TitleOf(pagePath)));
            result.created = result.io.ok;
        } else {
            result.io = IoResult::FailureErrno("open", pagePath, err);
        }
        return result;
    }
    std::string page;
    if (result.io = ReadPageToRewrite(pagePath, page); !result.io) return result;
    if (!silent && asker && HasStyleElement(page) &&
        !asker->AskYesNo(kOverwriteQuestion, kQuestionCaption)) {
        result.declined = true;
        return result;
    }
    result.io = ReplaceFileContents(pagePath, PlaceStyleBlock(page, doc.BuildStyleBlock()));
    return result;
}

std::string PageFolderOf(const std::string& pagePath) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(pagePath, ec);
    if (ec) return FolderOf(pagePath);
    return FolderOf(full.lexically_normal().string());
}

std::string PreviewLinkHead(std::string_view pageFolder) {
    std::string out = "<HEAD><LINK REL=StyleSheet HREF=\"";
    out += FolderUrl(pageFolder);
    out += "test.css\" TYPE=\"text/css\" MEDIA=\"all\"></HEAD>";
    return out;
}

PreviewResult LoadPreview(const SheetDocument& doc, const std::string& pagePath,
                          const std::string& folder, bool silent, StyleQuestion* asker) {
    const std::string pageFolder = WithSlash(folder);
    PreviewResult result;
    result.copyPath = pageFolder + kPreviewFileName;
    std::string page;
    if (result.io = ReadWholeFile(pagePath, page); !result.io) return result;
    if (result.io = doc.WriteStyleSheetFile(pageFolder + kPreviewSheetName); !result.io)
        return result;

    PageScan scan = ScanPage(page);
    std::string copy = std::move(page);
    if (FindStartTag(scan, kHeadStart) == npos) {
        copy.insert(0, PreviewLinkHead(pageFolder));
        scan = ScanPage(copy);
    }
    if (!silent && asker && !scan.elements.empty())
        result.keptPageStyles = !asker->AskYesNo(kPreviewQuestion, kQuestionCaption);

    std::string block = doc.BuildStyleBlock();
    if (result.keptPageStyles) {
        copy = InsertInto(copy, scan, std::string(kPreviewMarker) + block);
    } else {
        copy = Assemble(copy, scan.elements, 0, {});
        copy = InsertStyleBlock(copy, block);
    }
    result.io = ReplaceFileContents(result.copyPath, copy);
    return result;
}

IoResult RefreshPreview(const SheetDocument& doc, const std::string& pageFolder) {
    const std::string path = WithSlash(pageFolder) + kPreviewFileName;
    std::string copy;
    if (IoResult r = ReadPageToRewrite(path, copy); !r) return r;
    std::string block = doc.BuildStyleBlock();
    size_t marker = copy.find(kPreviewMarker);
    if (marker != npos) {
        PageScan s = ScanPage(copy);
        size_t start = marker + kPreviewMarker.size();
        const Span* sheet = ElementAt(s, start);
        if (sheet && sheet->start == start)
            return ReplaceFileContents(path, Assemble(copy, {*sheet}, start, block));
    }
    return ReplaceFileContents(path, PlaceStyleBlock(copy, block));
}

std::vector<PageFailure> SaveIntoPages(const SheetDocument& doc,
                                       const std::vector<std::string>& pagePaths) {
    std::vector<PageFailure> failures;
    for (const std::string& path : pagePaths) {
        EmbedResult r = EmbedStyleBlock(doc, path, true, nullptr);
        if (!r.io) failures.push_back({path, r.io.error});
    }
    return failures;
}

}  // namespace larkspur
