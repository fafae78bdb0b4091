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
constexpr std::string_view kDoctype = "<!DOCTYPE";

struct Span {
    size_t start;
    size_t end;  // one past the ">" of the style end tag
};

// Where the real tags are. Text inside comments, CDATA sections, the raw text
// of scripts and titles, and attribute values holds no tags.
struct PageScan {
    std::vector<Span> elements;    // complete style elements, in page order
    size_t unclosed = npos;        // a style or script start tag never ended
    size_t headStart = npos;       // the first head start tag
    size_t headStartEnd = npos;    // one past its ">"
    size_t headEnd = npos;         // the first head end tag
    size_t htmlStartEnd = npos;    // one past the ">" of the first html start tag
    size_t textStart = 0;          // past a UTF-8 byte-order mark, which stays first
};

bool MatchAt(std::string_view text, size_t pos, std::string_view upper) {
    return pos <= text.size() && StartsWithIgnoreCase(text.substr(pos), upper);
}

bool EndsTagName(std::string_view text, size_t pos) {
    if (pos >= text.size()) return false;
    char c = text[pos];
    return IsAsciiSpace(c) || c == '>' || c == '/';
}

}  // namespace

size_t TagEnd(std::string_view page, size_t pos) {
    char quote = 0;
    for (; pos < page.size(); ++pos) {
        char c = page[pos];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            // Only a value's opening quote counts: name="..." or name='...'.
            size_t back = pos;
            while (back > 0 && IsAsciiSpace(page[back - 1])) --back;
            if (back > 0 && page[back - 1] == '=') quote = c;
        } else if (c == '>') {
            return pos + 1;
        }
    }
    return npos;
}

namespace {

// Start of the end tag "</name" closing raw text that begins at pos.
size_t RawTextEnd(std::string_view page, size_t pos, std::string_view name) {
    while ((pos = page.find("</", pos)) != npos) {
        if (MatchAt(page, pos + 2, name) && EndsTagName(page, pos + 2 + name.size())) return pos;
        pos += 2;
    }
    return npos;
}

// Elements whose content is text up to their own end tag (a browser that
// runs scripts reads a noscript element so).
constexpr std::string_view kRawTextElements[] = {"SCRIPT",  "TITLE",    "TEXTAREA", "XMP",      "IFRAME",
                                                 "NOEMBED", "NOFRAMES", "NOSCRIPT", "STYLE"};
// Elements whose style elements are part of their content (an inline
// drawing's, a template's), never the page's sheet.
constexpr std::string_view kStyleHolders[] = {"SVG", "MATH", "TEMPLATE"};

// Which of kStyleHolders the name is; -1 for none.
int StyleHolderOf(std::string_view name) {
    for (size_t i = 0; i < std::size(kStyleHolders); ++i)
        if (EqualsIgnoreCase(name, kStyleHolders[i])) return static_cast<int>(i);
    return -1;
}

PageScan ScanPage(std::string_view page) {
    PageScan s;
    if (page.starts_with(kUtf8Bom)) s.textStart = kUtf8Bom.size();
    size_t pos = s.textStart;
    // The open elements of kStyleHolders: kind and start.
    std::vector<std::pair<int, size_t>> holders;
    while ((pos = page.find('<', pos)) != npos) {
        const size_t open = pos;
        size_t skipTo = npos;
        if (MatchAt(page, open, "<!--")) {
            if (size_t e = page.find("-->", open + 4); e != npos) skipTo = e + 3;
        } else if (MatchAt(page, open, "<![CDATA[")) {
            if (size_t e = page.find("]]>", open + 9); e != npos) skipTo = e + 3;
        } else if (MatchAt(page, open, "<!") || MatchAt(page, open, "<?")) {
            if (size_t e = page.find('>', open + 2); e != npos) skipTo = e + 1;
        } else {
            const bool endTag = MatchAt(page, open, "</");
            const size_t nameStart = open + (endTag ? 2 : 1);
            if (nameStart >= page.size() || !IsAsciiLetter(page[nameStart])) {
                pos = open + 1;
                continue;
            }
            size_t nameEnd = nameStart;
            while (nameEnd < page.size() && !EndsTagName(page, nameEnd)) ++nameEnd;
            const std::string_view name = page.substr(nameStart, nameEnd - nameStart);
            const size_t close = TagEnd(page, nameEnd);
            if (close == npos) break;  // the rest of the page is inside the tag
            skipTo = close;
            const int holder = StyleHolderOf(name);
            // Head and html tags inside a holder are its content, not the page's.
            const bool held = !holders.empty();
            if (endTag) {
                if (!held && EqualsIgnoreCase(name, "HEAD") && s.headEnd == npos) s.headEnd = open;
                // Closes the innermost open one of its kind and all inside it.
                auto same = std::find_if(holders.rbegin(), holders.rend(),
                                         [holder](const auto& h) { return h.first == holder; });
                if (holder >= 0 && same != holders.rend()) holders.erase(std::prev(same.base()), holders.end());
            } else if (holder >= 0) {
                if (page[close - 2] != '/') holders.push_back({holder, open});  // "<svg/>" holds nothing
            } else if (EqualsIgnoreCase(name, "HEAD")) {
                if (!held && s.headStart == npos) s.headStart = open, s.headStartEnd = close;
            } else if (EqualsIgnoreCase(name, "HTML")) {
                if (!held && s.htmlStartEnd == npos) s.htmlStartEnd = close;
            } else if (EqualsIgnoreCase(name, "PLAINTEXT")) {
                break;
            } else {
                for (std::string_view raw : kRawTextElements) {
                    if (!EqualsIgnoreCase(name, raw)) continue;
                    const size_t endTagAt = RawTextEnd(page, close, raw);
                    const size_t end = endTagAt == npos ? npos : TagEnd(page, endTagAt + 2 + raw.size());
                    if (end == npos) {
                        s.unclosed = open;
                    } else if (raw == "STYLE" && holders.empty()) {
                        s.elements.push_back({open, end});
                    }
                    skipTo = end;
                    break;
                }
            }
        }
        if (skipTo == npos) break;  // an unended comment or declaration runs to the end
        pos = skipTo;
    }
    // A holder never closed holds the rest of the page: the block goes before it.
    if (!holders.empty()) s.unclosed = std::min(s.unclosed, holders.front().second);
    return s;
}

const Span* ElementAt(const PageScan& s, size_t pos) {
    auto it = std::upper_bound(s.elements.begin(), s.elements.end(), pos,
                               [](size_t p, const Span& e) { return p < e.start; });
    if (it == s.elements.begin()) return nullptr;
    --it;
    return pos < it->end ? &*it : nullptr;
}

size_t LeadingDoctypeEnd(std::string_view page, const PageScan& s) {
    size_t pos = s.textStart;
    while (pos < page.size() && IsAsciiSpace(page[pos])) ++pos;
    if (MatchAt(page, pos, kDoctype)) {
        size_t close = page.find('>', pos);
        if (close != npos) return close + 1;
    }
    return npos;
}

struct InsertPoint {
    size_t pos;
    bool needsHead;  // the page has no head: wrap the block in one
};

InsertPoint FindInsertPoint(std::string_view page, const PageScan& s) {
    InsertPoint at{s.textStart, true};
    if (s.headEnd != npos) {
        at = {s.headEnd, false};
    } else if (s.headStartEnd != npos) {
        at = {s.headStartEnd, false};  // the end tag of a head may be left out
    } else if (s.htmlStartEnd != npos) {
        at = {s.htmlStartEnd, true};
    } else if (size_t doctype = LeadingDoctypeEnd(page, s); doctype != npos) {
        at = {doctype, true};
    }
    // Past an unclosed "<STYLE" a browser reads everything as style text:
    // the head's end tag, if any, is there unseen, so the block goes last in
    // what is left of the head.
    if (s.unclosed != npos && (at.pos > s.unclosed || (s.headEnd == npos && s.headStartEnd != npos)))
        at.pos = s.unclosed;
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
    InsertPoint at = FindInsertPoint(page, s);
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

std::string BinaryPageMessage(const std::string& path) {
    return IoResult::Failure("open", path, "it holds binary data (a NUL byte)").error;
}

IoResult ReadPage(const std::string& path, std::string& page) { return ReadTextFile(path, page, BinaryPageMessage(path)); }

// Reads a page that is about to be rewritten. A page without write
// permission is refused even where the rename beside it would succeed.
IoResult ReadPageToRewrite(const std::string& path, std::string& page) {
    if (IoResult r = ReadPage(path, page); !r) return r;
    return CheckWritable(path);
}

// The preview's sheet file is ours when it starts with this mark; a file of
// the user's under that name is never replaced. A link under the spare name,
// which no user picks, is replaced; one named "test.css" may be the user's.
bool IsOurPreviewSheet(const std::string& path, bool spareName) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (S_ISLNK(st.st_mode)) return spareName;
    std::string text;
    return ReadTextFileNoFollow(path, text, {}) && std::string_view(text).starts_with(kPreviewSheetMark);
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

size_t FirstStyleTag(std::string_view page) {
    const PageScan s = ScanPage(page);
    const size_t complete = s.elements.empty() ? npos : s.elements.front().start;
    if (s.unclosed != npos && s.unclosed < complete && MatchAt(page, s.unclosed, "<STYLE")) return s.unclosed;
    return complete;
}

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
    const size_t headEnd = s.headEnd;
    // The last element in the head takes the block; with every element in
    // the body the block goes before the head's end tag instead.
    size_t at = headEnd;
    for (const Span& e : s.elements)
        if (e.start < headEnd) at = e.start;
    return Assemble(page, s.elements, at, block);
}

std::string NewPageText(std::string_view block, std::string_view title, std::string_view eol) {
    std::string out;
    for (std::string_view line : {"<!DOCTYPE html>", "<html>", "<head>"}) out.append(line).append(eol);
    out += "<title>";
    out += EscapeHtml(title);
    out.append("</title>").append(eol);
    out += block;
    for (std::string_view line : {"", "</head>", "<body>", "</body>", "</html>"}) out.append(line).append(eol);
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
                                            NewPageText(doc.BuildStyleBlock(), TitleOf(pagePath), doc.LineEnd()));
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

IoResult PlaceStyleBlockInPage(const std::string& pagePath, std::string_view block, std::string& page,
                               std::string& placed) {
    if (IoResult r = ReadPageToRewrite(pagePath, page); !r) return r;
    placed = PlaceStyleBlock(page, block);
    return {};
}

std::string PageFolderOf(const std::string& pagePath) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(pagePath, ec);
    if (ec) return FolderOf(pagePath);
    return FolderOf(full.lexically_normal().string());
}

std::string PreviewLinkHead(std::string_view pageFolder, std::string_view sheetName) {
    std::string out = "<HEAD><LINK REL=StyleSheet HREF=\"";
    out += FolderUrl(pageFolder);
    out += FolderUrl(sheetName);
    out += "\" TYPE=\"text/css\" MEDIA=\"all\"></HEAD>";
    return out;
}

namespace {

IoResult WritePreviewSheet(const SheetDocument& doc, const std::string& pageFolder,
                           std::string& sheetName) {
    for (const char* name : {kPreviewSheetName, kPreviewSpareSheetName}) {
        if (!IsOurPreviewSheet(pageFolder + name, std::string_view(name) == kPreviewSpareSheetName)) continue;
        sheetName = name;
        return ReplaceOwnFile(pageFolder + name, kPreviewSheetMark + std::string(doc.LineEnd()) +
                                                     std::string(WithoutByteOrderMark(doc.StyleSheetText())));
    }
    return IoResult::Failure("write", pageFolder + kPreviewSheetName,
                             "it and \"" + pageFolder + kPreviewSpareSheetName +
                                 "\" are files of your own, so the preview sheet was not written");
}

}  // namespace

PreviewResult LoadPreview(const SheetDocument& doc, const std::string& pagePath,
                          const std::string& folder, bool silent, StyleQuestion* asker) {
    const std::string pageFolder = WithSlash(folder);
    PreviewResult result;
    result.copyPath = pageFolder + kPreviewFileName;
    std::string page;
    if (result.io = ReadPage(pagePath, page); !result.io) return result;
    std::string sheetName;
    if (result.io = WritePreviewSheet(doc, pageFolder, sheetName); !result.io) return result;
    result.sheetPath = pageFolder + sheetName;

    PageScan scan = ScanPage(page);
    std::string copy = std::move(page);
    if (scan.headStart == npos) {
        copy.insert(scan.textStart, PreviewLinkHead(pageFolder, sheetName));
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
    result.io = ReplaceOwnFile(result.copyPath, copy);
    return result;
}

IoResult RefreshPreview(const SheetDocument& doc, const std::string& pageFolder) {
    const std::string path = WithSlash(pageFolder) + kPreviewFileName;
    std::string copy;
    // A link put where the copy was is not read: its file may be no one's to see.
    if (IoResult r = ReadTextFileNoFollow(path, copy, BinaryPageMessage(path)); !r) return r;
    std::string block = doc.BuildStyleBlock();
    size_t marker = copy.find(kPreviewMarker);
    if (marker != npos) {
        PageScan s = ScanPage(copy);
        size_t start = marker + kPreviewMarker.size();
        const Span* sheet = ElementAt(s, start);
        if (sheet && sheet->start == start)
            return ReplaceOwnFile(path, Assemble(copy, {*sheet}, start, block));
    }
    return ReplaceOwnFile(path, PlaceStyleBlock(copy, block));
}

std::vector<PageFailure> SaveIntoPages(const SheetDocument& doc,
                                       const std::vector<std::string>& pagePaths) {
    std::vector<PageFailure> failures;
    for (const std::string& path : pagePaths) {
        EmbedResult r = EmbedStyleBlock(doc, path, true, nullptr);
        if (!r.io)
            failures.push_back({path, r.io.error});
        else if (!r.io.warning.empty())
            failures.push_back({path, r.io.warning, true});
    }
    return failures;
}

}  // namespace larkspur
