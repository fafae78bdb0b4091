#include "css/value_tokens.h"

#include <cstdlib>

namespace larkspur {
namespace {

using Kind = ValueToken::Kind;

bool IsNameStart(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z' ? true : c == '_' || c >= 0x80; }
bool IsName(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

class Tokenizer {
public:
    Tokenizer(std::string_view text, size_t maxTokens) : s_(text), left_(maxTokens) {}

    bool Cut() const { return cut_; }

    // Components up to the `close` character (0: the text's end); stops past it.
    std::vector<ValueToken> List(char close) {
        std::vector<ValueToken> out;
        ++depth_;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{depth_};
        while (true) {
            SkipBlanksAndComments();
            if (i_ >= s_.size()) return out;
            char c = s_[i_];
            if (close && c == close) {
                ++i_;
                return out;
            }
            if (left_ == 0) {
                cut_ = true;
                i_ = s_.size();
                return out;
            }
            --left_;
            out.push_back(Next());
        }
    }

private:
    void SkipBlanksAndComments() {
        while (i_ < s_.size()) {
            if (IsBlank(s_[i_])) {
                ++i_;
            } else if (s_.substr(i_, 2) == "/*") {
                size_t e = s_.find("*/", i_ + 2);
                i_ = e == std::string_view::npos ? s_.size() : e + 2;
            } else {
                return;
            }
        }
    }

    bool StartsEscape(size_t at) const { return at + 1 < s_.size() && s_[at] == '\\' && s_[at + 1] != '\n'; }
    bool StartsName(size_t at) const {
        if (at >= s_.size()) return false;
        unsigned char c = s_[at];
        if (IsNameStart(c) || StartsEscape(at)) return true;
        if (c != '-' || at + 1 >= s_.size()) return false;
        unsigned char d = s_[at + 1];
        return IsNameStart(d) || d == '-' || StartsEscape(at + 1);
    }
    bool StartsNumber(size_t at) const {
        if (at >= s_.size()) return false;
        char c = s_[at];
        if (c == '+' || c == '-') ++at;
        if (at < s_.size() && IsDigit(s_[at])) return true;
        return at + 1 < s_.size() && s_[at] == '.' && IsDigit(s_[at + 1]);
    }

    // A name at i_, lower-cased, escapes kept as written: "\9" is no "9"
    // (a tab, in fact), so such a name matches no keyword or colour.
    std::string Name() {
        std::string out;
        while (i_ < s_.size()) {
            if (StartsEscape(i_)) {
                out += s_.substr(i_, 2);
                i_ += 2;
            } else if (IsName(static_cast<unsigned char>(s_[i_]))) {
                out += Lower(s_[i_++]);
            } else {
                break;
            }
        }
        return out;
    }

    ValueToken Next() {
        ValueToken t;
        t.begin = i_;
        char c = s_[i_];
        if (depth_ >= kMaxDepth && (c == '(' || c == '{' || FunctionNext())) {
            // Nesting no value needs: the rest is one bad token, not a deep recursion.
            t.kind = Kind::Bad;
            i_ = t.end = s_.size();
            return t;
        }
        if (c == '"' || c == '\'') {
            t.kind = String(c) ? Kind::String : Kind::Bad;
        } else if (StartsNumber(i_)) {
            NumberToken(t);
        } else if (StartsName(i_)) {
            t.name = Name();
            if (i_ < s_.size() && s_[i_] == '(') {
                ++i_;
                if (t.name == "url" && !QuotedNext()) {
                    t.kind = UnquotedUrl() ? Kind::Url : Kind::Bad;
                } else {
                    t.kind = Kind::Function;
                    t.children = List(')');
                }
            } else {
                t.kind = Kind::Ident;
            }
        } else if (c == '#' && i_ + 1 < s_.size() && (IsName(static_cast<unsigned char>(s_[i_ + 1])) || StartsEscape(i_ + 1))) {
            ++i_;
            t.kind = Kind::Hash;
            t.name = Name();
        } else if (c == '(') {
            ++i_;
            t.kind = Kind::Paren;
            t.children = List(')');
        } else if (c == '{') {
            ++i_;
            t.kind = Kind::Block;
            t.children = List('}');
        } else if (c == ')' || c == '}') {
            ++i_;
            t.kind = Kind::Bad;
        } else if (c == ',') {
            ++i_;
            t.kind = Kind::Comma;
        } else {
            ++i_;
            t.kind = Kind::Delim;
            t.name = std::string(1, c);
        }
        t.end = i_;
        return t;
    }

    bool FunctionNext() const {
        if (!StartsName(i_)) return false;
        size_t at = i_;
        while (at < s_.size() && (IsName(static_cast<unsigned char>(s_[at])) || StartsEscape(at))) at += s_[at] == '\\' ? 2 : 1;
        return at < s_.size() && s_[at] == '(';
    }

    bool QuotedNext() {
        size_t at = i_;
        while (at < s_.size() && IsBlank(s_[at])) ++at;
        return at < s_.size() && (s_[at] == '"' || s_[at] == '\'');
    }

    // At a quote: false when the string ends unclosed (at a line end or the text's end).
    bool String(char quote) {
        ++i_;
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == quote) {
                ++i_;
                return true;
            }
            if (c == '\n') return false;
            i_ += c == '\\' ? 2 : 1;
        }
        i_ = s_.size();
        return false;
    }

    bool UnquotedUrl() {
        bool ok = true;
        while (i_ < s_.size() && s_[i_] != ')') {
            char c = s_[i_];
            if (c == '"' || c == '\'' || c == '(') ok = false;
            i_ += c == '\\' ? 2 : 1;
        }
        if (i_ >= s_.size()) {
            i_ = s_.size();
            return false;
        }
        ++i_;
        return ok;
    }

    void NumberToken(ValueToken& t) {
        size_t start = i_;
        t.integer = true;
        if (s_[i_] == '+' || s_[i_] == '-') ++i_;
        while (i_ < s_.size() && IsDigit(s_[i_])) ++i_;
        if (i_ + 1 < s_.size() && s_[i_] == '.' && IsDigit(s_[i_ + 1])) {
            t.integer = false;
            ++i_;
            while (i_ < s_.size() && IsDigit(s_[i_])) ++i_;
        }
        if (i_ + 1 < s_.size() && (s_[i_] | 0x20) == 'e') {
            size_t at = i_ + 1;
            if (s_[at] == '+' || s_[at] == '-') ++at;
            if (at < s_.size() && IsDigit(s_[at])) {
                t.integer = false;
                i_ = at;
                while (i_ < s_.size() && IsDigit(s_[i_])) ++i_;
            }
        }
        t.number = std::strtod(std::string(s_.substr(start, i_ - start)).c_str(), nullptr);
        if (i_ < s_.size() && s_[i_] == '%') {
            ++i_;
            t.kind = Kind::Percentage;
        } else if (StartsName(i_)) {
            t.kind = Kind::Dimension;
            t.name = Name();
        } else {
            t.kind = Kind::Number;
        }
    }

    static constexpr int kMaxDepth = 32;
    std::string_view s_;
    size_t i_ = 0;
    int depth_ = 0;
    size_t left_;
    bool cut_ = false;
};

}  // namespace

std::vector<ValueToken> TokenizeValue(std::string_view value, size_t maxTokens, bool* cut) {
    Tokenizer t(value, maxTokens);
    std::vector<ValueToken> out = t.List(0);
    if (cut) *cut = t.Cut();
    return out;
}

}  // namespace larkspur
