#include "css/value_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "css/value_grammar.h"
#include "css/value_tokens.h"

namespace larkspur {
namespace {

using Kind = GrammarNode::Kind;
using TokenKind = ValueToken::Kind;
using Ends = std::vector<int>;

constexpr size_t kMaxSteps = 200000;
// Longer values than any sheet writes are let through unjudged.
constexpr size_t kMaxTokens = 4096;

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool IsCssWide(std::string_view word) {
    return OneOf(word, {"inherit", "initial", "unset", "revert", "revert-layer"});
}

bool IsVendor(std::string_view name) {
    for (std::string_view p : {"-webkit-", "-moz-", "-ms-", "-o-", "-khtml-", "-apple-", "-epub-", "-xv-", "-wap-"})
        if (name.substr(0, p.size()) == p) return true;
    return false;
}

bool IsMath(const ValueToken& t) {
    return t.kind == TokenKind::Function &&
           OneOf(t.name, {"calc", "min", "max", "clamp", "round", "mod", "rem", "abs", "sign", "sin", "cos", "tan",
                          "asin", "acos", "atan", "atan2", "pow", "sqrt", "hypot", "log", "exp", "calc-size"});
}

bool IsUnitOf(BuiltinType type, std::string_view unit) {
    switch (type) {
        case BuiltinType::Length:
            return OneOf(unit, {"px", "em", "rem", "ex", "rex", "ch", "rch", "ic", "ric", "cap", "rcap", "lh", "rlh",
                                "cm", "mm", "q", "in", "pt", "pc", "vw", "vh", "vi", "vb", "vmin", "vmax", "svw",
                                "svh", "svi", "svb", "svmin", "svmax", "lvw", "lvh", "lvi", "lvb", "lvmin", "lvmax",
                                "dvw", "dvh", "dvi", "dvb", "dvmin", "dvmax", "cqw", "cqh", "cqi", "cqb", "cqmin",
                                "cqmax"});
        case BuiltinType::Angle: return OneOf(unit, {"deg", "grad", "rad", "turn"});
        case BuiltinType::Time: return OneOf(unit, {"s", "ms"});
        case BuiltinType::Frequency: return OneOf(unit, {"hz", "khz"});
        case BuiltinType::Resolution: return OneOf(unit, {"dpi", "dpcm", "dppx", "x"});
        case BuiltinType::Flex: return unit == "fr";
        default: return false;
    }
}

bool IsHex(std::string_view s) {
    if (s.size() != 3 && s.size() != 4 && s.size() != 6 && s.size() != 8) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A vendor's own keyword or function: one component of whatever is expected.
bool IsVendorToken(const ValueToken& t) {
    return (t.kind == TokenKind::Ident || t.kind == TokenKind::Function) && IsVendor(t.name);
}

// Whether the value leans on what only the browser knows: var(), env() and
// attr() stand for any number of components.
bool Unjudgeable(const std::vector<ValueToken>& tokens) {
    for (const ValueToken& t : tokens) {
        if (t.kind == TokenKind::Function && OneOf(t.name, {"var", "env", "attr"})) return true;
        if (Unjudgeable(t.children)) return true;
    }
    return false;
}

// All the ways a grammar node can match a token list from a position: the
// set of positions where a match may end. Memoised per node, list and
// position, so every value is matched in polynomial time, and a step budget
// caps even that.
class Matcher {
public:
    Matcher(const ValueGrammar& g, std::string_view text) : g_(g), text_(text) {}

    int AddList(const std::vector<ValueToken>& tokens, size_t endOffset) {
        lists_.push_back({&tokens, endOffset});
        return static_cast<int>(lists_.size() - 1);
    }

    Ends Match(int node, int list, int pos) {
        if (++steps_ > kMaxSteps) {
            gaveUp_ = true;
            return {};
        }
        const GrammarNode& n = g_.Node(node);
        if (!n.Repeats()) return Once(node, list, pos);
        uint64_t key = Key(node, list, pos, 1);
        if (auto it = memo_.find(key); it != memo_.end()) return it->second;
        Ends out = Repeat(n, node, list, pos);
        memo_.emplace(key, out);
        return out;
    }

    bool GaveUp() const { return gaveUp_; }
    size_t Farthest() const { return farthest_; }
    const std::vector<int>& Expected() const { return expected_; }
    // Makes `offset` the farthest point reached, with nothing expected there.
    void Unexpected(size_t offset) {
        if (offset > farthest_ || farthest_ == SIZE_MAX) {
            farthest_ = offset;
            expected_.clear();
        }
    }

private:
    struct List {
        const std::vector<ValueToken>* tokens;
        size_t endOffset;
    };

    static uint64_t Key(int node, int list, int pos, int repeat) {
        return (static_cast<uint64_t>(node) << 42) | (static_cast<uint64_t>(list) << 22) |
               (static_cast<uint64_t>(pos) << 1) | static_cast<uint64_t>(repeat);
    }

    const std::vector<ValueToken>& Tokens(int list) const { return *lists_[static_cast<size_t>(list)].tokens; }

    void Fail(int node, int list, int pos) {
        const auto& tokens = Tokens(list);
        size_t offset = static_cast<size_t>(pos) < tokens.size() ? tokens[static_cast<size_t>(pos)].begin
                                                                 : lists_[static_cast<size_t>(list)].endOffset;
        if (farthest_ == SIZE_MAX || offset > farthest_) {
            farthest_ = offset;
            expected_.clear();
        }
        if (offset == farthest_) expected_.push_back(node);
    }

    Ends Repeat(const GrammarNode& n, int node, int list, int pos) {
        const auto& tokens = Tokens(list);
        Ends out, frontier{pos}, seen;
        if (n.min == 0) out.push_back(pos), seen.push_back(pos);
        unsigned max = std::min<unsigned>(n.max, static_cast<unsigned>(tokens.size()) + 1);
        for (unsigned i = 1; i <= max && !frontier.empty(); ++i) {
            Ends next;
            for (int p : frontier) {
                int start = p;
                if (n.list && i > 1) {
                    if (static_cast<size_t>(p) >= tokens.size() || tokens[static_cast<size_t>(p)].kind != TokenKind::Comma) {
                        continue;
                    }
                    ++start;
                }
                for (int e : Once(node, list, start)) next.push_back(e);
            }
            Unique(next);
            Charge(next.size());
            if (i >= n.min) {
                Ends fresh;
                std::set_difference(next.begin(), next.end(), seen.begin(), seen.end(), std::back_inserter(fresh));
                for (int e : fresh) out.push_back(e), seen.push_back(e);
                Unique(seen);
                frontier = std::move(fresh);
            } else {
                frontier = std::move(next);
            }
        }
        Unique(out);
        if (n.nonEmpty) std::erase(out, pos);
        return out;
    }

    // Work beyond single steps: positions carried along.
    void Charge(size_t work) {
        steps_ += work;
        if (steps_ > kMaxSteps) gaveUp_ = true;
    }

    static void Unique(Ends& e) {
        std::sort(e.begin(), e.end());
        e.erase(std::unique(e.begin(), e.end()), e.end());
    }

    Ends Once(int node, int list, int pos) {
        const GrammarNode& n = g_.Node(node);
        const bool composite = n.kind != Kind::Keyword && n.kind != Kind::Literal && n.kind != Kind::Builtin;
        uint64_t key = Key(node, list, pos, 0);
        if (composite) {
            if (auto it = memo_.find(key); it != memo_.end()) return it->second;
        }
        Ends out = OnceUncached(n, node, list, pos);
        if (n.ranged && !out.empty()) {
            std::erase_if(out, [&](int end) { return !InRange(n, Tokens(list), pos, end); });
            if (out.empty()) Fail(node, list, pos);
        }
        if (composite) memo_.emplace(key, out);
        return out;
    }

    static bool InRange(const GrammarNode& n, const std::vector<ValueToken>& tokens, int from, int to) {
        for (int i = from; i < to; ++i) {
            const ValueToken& t = tokens[static_cast<size_t>(i)];
            bool numeric = t.kind == TokenKind::Number || t.kind == TokenKind::Percentage || t.kind == TokenKind::Dimension;
            if (numeric && (t.number < n.low || t.number > n.high)) return false;
        }
        return true;
    }

    Ends OnceUncached(const GrammarNode& n, int node, int list, int pos) {
        const auto& tokens = Tokens(list);
        const ValueToken* t = static_cast<size_t>(pos) < tokens.size() ? &tokens[static_cast<size_t>(pos)] : nullptr;
        if (t && IsVendorToken(*t) && (n.kind == Kind::Keyword || n.kind == Kind::Builtin || n.kind == Kind::Function))
            return {pos + 1};
        switch (n.kind) {
            case Kind::Keyword:
                if (t && t->kind == TokenKind::Ident && t->name == n.name) return {pos + 1};
                Fail(node, list, pos);
                return {};
            case Kind::Literal:
                if (t && ((n.name == "," && t->kind == TokenKind::Comma) || (t->kind == TokenKind::Delim && t->name == n.name)))
                    return {pos + 1};
                Fail(node, list, pos);
                return {};
            case Kind::Builtin:
                return Builtin(n, node, list, pos);
            case Kind::Type:
            case Kind::Property:
                return Match(n.target, list, pos);
            case Kind::Function:
            case Kind::Paren: {
                bool kindMatches = n.kind == Kind::Paren ? t && t->kind == TokenKind::Paren
                                                         : t && t->kind == TokenKind::Function && t->name == n.name;
                if (!kindMatches) {
                    Fail(node, list, pos);
                    return {};
                }
                if (Inside(n, *t)) return {pos + 1};
                // A colour made from another ("rgb(from red r g b)") is read more loosely than its syntax says.
                if (!t->children.empty() && t->children[0].kind == TokenKind::Ident && t->children[0].name == "from")
                    return {pos + 1};
                return {};
            }
            case Kind::Seq:
                return Sequence(n, list, pos);
            case Kind::One: {
                Ends out;
                for (int kid : n.kids)
                    for (int e : Match(kid, list, pos)) out.push_back(e);
                Unique(out);
                Charge(out.size());
                return out;
            }
            case Kind::All:
            case Kind::Any:
                return Unordered(n, list, pos);
        }
        return {};
    }

    bool Inside(const GrammarNode& n, const ValueToken& t) {
        // A parenthesis left open at the value's end closes there.
        int inner;
        if (auto it = listOf_.find(&t); it != listOf_.end()) {
            inner = it->second;
        } else {
            size_t end = t.end;
            if (end > t.begin && end <= text_.size() && text_[end - 1] == ')') --end;
            inner = AddList(t.children, end);
            listOf_.emplace(&t, inner);
        }
        if (n.kids.empty()) {
            if (t.children.empty()) return true;
            Fail(-1, inner, 0);
            return false;
        }
        Ends ends = Match(n.kids[0], inner, 0);
        if (std::binary_search(ends.begin(), ends.end(), static_cast<int>(t.children.size()))) return true;
        if (!ends.empty()) Unexpected(EndOffset(inner, ends.back()));
        return false;
    }

    size_t EndOffset(int list, int pos) const {
        const auto& tokens = Tokens(list);
        return static_cast<size_t>(pos) < tokens.size() ? tokens[static_cast<size_t>(pos)].begin
                                                        : lists_[static_cast<size_t>(list)].endOffset;
    }

    Ends Sequence(const GrammarNode& n, int list, int pos) {
        const auto& tokens = Tokens(list);
        Ends at{pos};
        for (int kid : n.kids) {
            const GrammarNode& k = g_.Node(kid);
            Ends next;
            for (int p : at) {
                if (k.kind == Kind::Literal && k.name == "," && !k.Repeats()) {
                    // A comma between parts goes with them: it is left out at the
                    // start, at the end, and after another comma.
                    const size_t up = static_cast<size_t>(p);
                    if (up < tokens.size() && tokens[up].kind == TokenKind::Comma) next.push_back(p + 1);
                    if (p == pos || up == tokens.size() || (up > 0 && tokens[up - 1].kind == TokenKind::Comma)) {
                        next.push_back(p);
                    } else if (up >= tokens.size() || tokens[up].kind != TokenKind::Comma) {
                        Fail(kid, list, p);
                    }
                    continue;
                }
                for (int e : Match(kid, list, p)) next.push_back(e);
            }
            Unique(next);
            Charge(next.size());
            at = std::move(next);
            if (at.empty()) break;
        }
        return at;
    }

    // && and ||: the kids in any order, each at most once; states are the
    // set of kids used and the position reached.
    Ends Unordered(const GrammarNode& n, int list, int pos) {
        const size_t count = std::min<size_t>(n.kids.size(), 16);
        const uint32_t all = (1u << count) - 1;
        std::vector<std::pair<uint32_t, int>> todo{{0, pos}}, seen{{0, pos}};
        Ends out;
        while (!todo.empty()) {
            auto [mask, p] = todo.back();
            todo.pop_back();
            if (mask != 0 && (n.kind == Kind::Any || mask == all)) out.push_back(p);
            for (size_t k = 0; k < count; ++k) {
                if (mask & (1u << k)) continue;
                for (int e : Match(n.kids[k], list, p)) {
                    std::pair<uint32_t, int> state{mask | (1u << k), e};
                    if (std::find(seen.begin(), seen.end(), state) != seen.end()) continue;
                    seen.push_back(state);
                    todo.push_back(state);
                }
            }
            Charge(seen.size() / 8);
            if (seen.size() > 4096 || gaveUp_) {
                gaveUp_ = true;
                break;
            }
        }
        Unique(out);
        return out;
    }

    Ends Builtin(const GrammarNode& n, int node, int list, int pos) {
        const auto& tokens = Tokens(list);
        if (static_cast<size_t>(pos) >= tokens.size()) {
            Fail(node, list, pos);
            return {};
        }
        const ValueToken& t = tokens[static_cast<size_t>(pos)];
        bool ok = false;
        switch (n.builtin) {
            case BuiltinType::Ident: ok = t.kind == TokenKind::Ident; break;
            case BuiltinType::CustomIdent:
                ok = t.kind == TokenKind::Ident && !IsCssWide(t.name) && t.name != "default";
                break;
            case BuiltinType::DashedIdent: ok = t.kind == TokenKind::Ident && t.name.starts_with("--"); break;
            case BuiltinType::Number: ok = t.kind == TokenKind::Number || IsMath(t); break;
            case BuiltinType::Integer: ok = (t.kind == TokenKind::Number && t.integer) || IsMath(t); break;
            case BuiltinType::Zero: ok = t.kind == TokenKind::Number && t.number == 0; break;
            case BuiltinType::Percentage: ok = t.kind == TokenKind::Percentage || IsMath(t); break;
            case BuiltinType::Length:
            case BuiltinType::Angle:
                ok = (t.kind == TokenKind::Number && t.number == 0) || IsMath(t) ||
                     (t.kind == TokenKind::Dimension && IsUnitOf(n.builtin, t.name));
                break;
            case BuiltinType::Time:
            case BuiltinType::Frequency:
            case BuiltinType::Resolution:
            case BuiltinType::Flex:
                ok = IsMath(t) || (t.kind == TokenKind::Dimension && IsUnitOf(n.builtin, t.name));
                break;
            case BuiltinType::Dimension: ok = t.kind == TokenKind::Dimension || IsMath(t); break;
            case BuiltinType::String: ok = t.kind == TokenKind::String; break;
            case BuiltinType::Url:
                ok = t.kind == TokenKind::Url || (t.kind == TokenKind::Function && (t.name == "url" || t.name == "src"));
                break;
            case BuiltinType::HexColor: ok = t.kind == TokenKind::Hash && IsHex(t.name); break;
            case BuiltinType::AnyValue: {
                Ends out;
                for (size_t e = static_cast<size_t>(pos); e < tokens.size(); ++e) {
                    if (tokens[e].kind == TokenKind::Bad || tokens[e].kind == TokenKind::Block) break;
                    out.push_back(static_cast<int>(e + 1));
                }
                return out;
            }
            case BuiltinType::AnyToken: ok = true; break;
        }
        if (ok) return {pos + 1};
        Fail(node, list, pos);
        return {};
    }

    const ValueGrammar& g_;
    std::string_view text_;
    std::vector<List> lists_;
    std::unordered_map<const ValueToken*, int> listOf_;
    std::unordered_map<uint64_t, Ends> memo_;
    size_t steps_ = 0;
    bool gaveUp_ = false;
    size_t farthest_ = SIZE_MAX;
    std::vector<int> expected_;
};

const char* const kBuiltinNames[] = {
    "ident", "custom-ident", "dashed-ident", "number", "integer", "zero", "percentage", "length", "angle", "time",
    "frequency", "resolution", "flex", "dimension", "string", "url", "hex-color", "declaration-value", "value",
};

std::string Bound(double v) {
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string Describe(const ValueGrammar& g, int node) {
    if (node < 0) return "nothing more";
    const GrammarNode& n = g.Node(node);
    std::string type = n.kind == Kind::Builtin ? kBuiltinNames[static_cast<size_t>(n.builtin)] : n.name;
    switch (n.kind) {
        case Kind::Keyword: return n.name;
        case Kind::Literal: return "'" + n.name + "'";
        case Kind::Function: return n.name + "()";
        case Kind::Paren: return "( )";
        default: break;
    }
    if (!n.ranged) return "<" + type + ">";
    if (n.low == 0 && std::isinf(n.high)) return "<" + type + "> of 0 or more";
    return "<" + type + "> from " + Bound(n.low) + " to " + Bound(n.high);
}

bool IsColourPart(std::string_view d) {
    return OneOf(d, {"<hex-color>", "rgb()", "rgba()", "hsl()", "hsla()", "hwb()", "lab()", "lch()", "oklab()",
                     "oklch()", "color()", "color-mix()", "light-dark()", "device-cmyk()", "contrast-color()"});
}

std::string Expectation(const ValueGrammar& g, const std::vector<int>& nodes, std::string_view property) {
    std::vector<std::string> words, others;
    bool colour = false;
    for (int node : nodes) {
        std::string d = Describe(g, node);
        if (IsColourPart(d)) {
            colour = true;
            continue;
        }
        auto& into = node >= 0 && g.Node(node).kind == Kind::Keyword ? words : others;
        if (std::find(into.begin(), into.end(), d) == into.end()) into.push_back(d);
    }
    if (colour) others.insert(others.begin(), "<color>");
    if (words.size() > 4) {
        // Colour names are what <color> says.
        if (!colour) others.push_back("a " + std::string(property) + " keyword");
        words.clear();
    }
    others.insert(others.end(), words.begin(), words.end());
    if (others.size() > 6) {
        others.resize(5);
        others.push_back("…");
    }
    std::string out;
    for (size_t i = 0; i < others.size(); ++i) {
        if (i > 0) out += i + 1 == others.size() ? " or " : ", ";
        out += others[i];
    }
    return out;
}

std::string Found(std::string_view value, size_t offset) {
    if (offset >= value.size()) return "nothing";
    // The component at that offset, as written.
    std::vector<ValueToken> tokens = TokenizeValue(value.substr(offset));
    size_t end = tokens.empty() ? value.size() - offset : tokens[0].end;
    std::string text(value.substr(offset, end));
    if (text.size() > 40) text = text.substr(0, 37) + "...";
    return text;
}

std::string LowerName(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

ValueCheck Judge(const ValueGrammar& g, int root, std::string_view property, std::string_view value,
                 const std::vector<ValueToken>& tokens) {
    if (Unjudgeable(tokens)) return {};
    Matcher m(g, value);
    int list = m.AddList(tokens, value.size());
    Ends ends = m.Match(root, list, 0);
    if (m.GaveUp() || std::binary_search(ends.begin(), ends.end(), static_cast<int>(tokens.size()))) return {};
    if (!ends.empty()) m.Unexpected(tokens[static_cast<size_t>(ends.back())].begin);
    std::string found = Found(value, m.Farthest());
    std::string message(property);
    if (m.Expected().empty())
        message += ": unexpected " + found;
    else
        message += ": expected " + Expectation(g, m.Expected(), property) + ", found " + found;
    return {ValueVerdict::Invalid, message};
}

}  // namespace

ValueCheck CheckValue(std::string_view property, std::string_view value) {
    if (property.starts_with("--")) return {};
    std::string name = LowerName(property);
    if (name.starts_with("-")) return {ValueVerdict::Unknown, {}};
    const ValueGrammar& g = ValueGrammar::Get();
    int root = g.PropertyRoot(name);
    if (root < 0) return {ValueVerdict::Unknown, {}};
    // Sheets say the same thing again and again ("display: block"): a verdict
    // once found is kept, up to a bound.
    thread_local std::unordered_map<std::string, ValueCheck> known;
    std::string key = name;
    key += ':';
    key += value;
    if (auto it = known.find(key); it != known.end()) return it->second;
    bool cut = false;
    std::vector<ValueToken> tokens = TokenizeValue(value, kMaxTokens, &cut);
    if (cut) return {};
    ValueCheck check;
    if (tokens.size() != 1 || tokens[0].kind != ValueToken::Kind::Ident || !IsCssWide(tokens[0].name))
        check = Judge(g, root, name, value, tokens);
    if (known.size() >= 65536) known.clear();
    if (key.size() <= 256) known.emplace(std::move(key), check);
    return check;
}

bool MatchesSyntax(std::string_view syntax, std::string_view value) {
    static ValueGrammar grammar;
    int root = grammar.Compile(syntax);
    return root >= 0 && Judge(grammar, root, "value", value, TokenizeValue(value)).verdict == ValueVerdict::Valid;
}

}  // namespace larkspur
