#include "css/value_grammar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/css_syntax_table.h"

namespace larkspur {
namespace {

using Kind = GrammarNode::Kind;

const struct {
    std::string_view name;
    BuiltinType type;
} kBuiltins[] = {
    {"ident", BuiltinType::Ident},
    {"ident-token", BuiltinType::Ident},
    {"custom-ident", BuiltinType::CustomIdent},
    {"dashed-ident", BuiltinType::DashedIdent},
    {"custom-property-name", BuiltinType::DashedIdent},
    {"number", BuiltinType::Number},
    {"number-token", BuiltinType::Number},
    {"integer", BuiltinType::Integer},
    {"zero", BuiltinType::Zero},
    {"percentage", BuiltinType::Percentage},
    {"length", BuiltinType::Length},
    {"angle", BuiltinType::Angle},
    {"time", BuiltinType::Time},
    {"frequency", BuiltinType::Frequency},
    {"resolution", BuiltinType::Resolution},
    {"flex", BuiltinType::Flex},
    {"dimension", BuiltinType::Dimension},
    {"dimension-token", BuiltinType::Dimension},
    {"string", BuiltinType::String},
    {"string-token", BuiltinType::String},
    {"url", BuiltinType::Url},
    {"hex-color", BuiltinType::HexColor},
    {"hash-token", BuiltinType::HexColor},
    {"declaration-value", BuiltinType::AnyValue},
    {"any-value", BuiltinType::AnyValue},
    {"x", BuiltinType::Number},
    {"y", BuiltinType::Number},
};

// Where the data set's syntax is narrower than what browsers read.
const CssSyntaxEntry kOverrides[] = {
    // rect() of `clip` is read with or without commas.
    {"shape", "rect( [ <length> | auto ]#{4} ) | rect( [ <length> | auto ]{4} )"},
};

constexpr unsigned short kMany = 0xffff;

double Bound(std::string_view text) {
    bool negative = !text.empty() && text[0] == '-';
    if (text.find("\xe2\x88\x9e") != std::string_view::npos)  // the infinity sign
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return std::strtod(std::string(text).c_str(), nullptr);
}

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

}  // namespace

// Recursive descent over one syntax text; nodes go straight into the table.
struct ValueGrammar::Parser {
    ValueGrammar& g;
    std::string_view s;
    size_t i = 0;
    bool ok = true;

    void Blanks() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\t')) ++i;
    }
    bool At(std::string_view token) {
        Blanks();
        return s.substr(i, token.size()) == token;
    }
    int Add(GrammarNode node) {
        g.nodes_.push_back(std::move(node));
        return static_cast<int>(g.nodes_.size() - 1);
    }
    int Group(Kind kind, std::vector<int> kids) {
        if (kids.size() == 1) return kids[0];
        GrammarNode n;
        n.kind = kind;
        n.kids = std::move(kids);
        return Add(std::move(n));
    }

    // Parts joined by an operator ("|", "||", "&&"), each read by `part`.
    int Joined(Kind kind, std::string_view op, int (Parser::*part)()) {
        std::vector<int> kids{(this->*part)()};
        // "|" is no "||".
        while (ok && At(op) && !(op == "|" && At("||"))) {
            i += op.size();
            kids.push_back((this->*part)());
        }
        return Group(kind, std::move(kids));
    }
    int One() { return Joined(Kind::One, "|", &Parser::AnyOf); }
    int AnyOf() { return Joined(Kind::Any, "||", &Parser::AllOf); }
    int AllOf() { return Joined(Kind::All, "&&", &Parser::Sequence); }
    int Sequence() {
        std::vector<int> kids;
        while (ok) {
            Blanks();
            if (i >= s.size() || s[i] == ']' || s[i] == ')' || s[i] == '|' || At("&&")) break;
            kids.push_back(Term());
        }
        if (kids.empty()) ok = false;
        return Group(Kind::Seq, std::move(kids));
    }

    int Term() {
        int node = Atom();
        while (ok && i < s.size()) {
            char c = s[i];
            unsigned short lo, hi;
            bool list = false;
            if (c == '*') {
                lo = 0, hi = kMany, ++i;
            } else if (c == '+') {
                lo = 1, hi = kMany, ++i;
            } else if (c == '?') {
                lo = 0, hi = 1, ++i;
            } else if (c == '#') {
                list = true, lo = 1, hi = kMany, ++i;
                if (i < s.size() && s[i] == '{') Braces(lo, hi);
            } else if (c == '{') {
                Braces(lo, hi);
            } else if (c == '!') {
                ++i;
                node = Wrap(node);
                g.nodes_[static_cast<size_t>(node)].nonEmpty = true;
                continue;
            } else {
                break;
            }
            GrammarNode& n = g.nodes_[static_cast<size_t>(node)];
            if (n.list && !list && lo == 0 && hi == 1) {
                n.min = 0;  // "#?": an optional list
                continue;
            }
            node = Wrap(node);
            GrammarNode& w = g.nodes_[static_cast<size_t>(node)];
            w.min = lo, w.max = hi, w.list = list;
        }
        return node;
    }
    // The node itself when it has no multiplier yet, else a group around it.
    int Wrap(int node) {
        if (!g.nodes_[static_cast<size_t>(node)].Repeats()) return node;
        GrammarNode n;
        n.kind = Kind::Seq;
        n.kids = {node};
        return Add(std::move(n));
    }
    void Braces(unsigned short& lo, unsigned short& hi) {
        size_t close = s.find('}', i);
        if (close == std::string_view::npos) {
            ok = false;
            return;
        }
        std::string_view inside = s.substr(i + 1, close - i - 1);
        size_t comma = inside.find(',');
        lo = static_cast<unsigned short>(std::atoi(std::string(inside.substr(0, comma)).c_str()));
        if (comma == std::string_view::npos)
            hi = lo;
        else if (comma + 1 == inside.size())
            hi = kMany;
        else
            hi = static_cast<unsigned short>(std::atoi(std::string(inside.substr(comma + 1)).c_str()));
        i = close + 1;
    }

    int Atom() {
        Blanks();
        if (i >= s.size()) {
            ok = false;
            return Add({});
        }
        char c = s[i];
        if (c == '[') {
            ++i;
            int inner = One();
            if (!At("]")) ok = false;
            ++i;
            return Wrap(inner);
        }
        if (c == '<') return Reference();
        if (c == '\'') {
            size_t close = s.find('\'', i + 1);
            if (close == std::string_view::npos) {
                ok = false;
                return Add({});
            }
            GrammarNode n;
            n.kind = Kind::Literal;
            n.name = std::string(s.substr(i + 1, close - i - 1));
            i = close + 1;
            return Add(std::move(n));
        }
        if (c == '(') {
            ++i;
            GrammarNode n;
            n.kind = Kind::Paren;
            n.kids = {One()};
            if (!At(")")) ok = false;
            ++i;
            return Add(std::move(n));
        }
        if (IsWordChar(c)) {
            size_t start = i;
            while (i < s.size() && IsWordChar(s[i])) ++i;
            GrammarNode n;
            n.name = Lower(s.substr(start, i - start));
            if (i < s.size() && s[i] == '(') {
                ++i;
                n.kind = Kind::Function;
                if (!At(")")) n.kids = {One()};
                if (!At(")")) ok = false;
                ++i;
            } else {
                n.kind = Kind::Keyword;
            }
            return Add(std::move(n));
        }
        ++i;
        GrammarNode n;
        n.kind = Kind::Literal;
        n.name = std::string(1, c);
        return Add(std::move(n));
    }

    // <type>, <type [low,high]>, <'property'>, <fn()>
    int Reference() {
        size_t close = s.find('>', i);
        if (close == std::string_view::npos) {
            ok = false;
            return Add({});
        }
        std::string_view inside = s.substr(i + 1, close - i - 1);
        i = close + 1;
        GrammarNode n;
        if (size_t open = inside.find('['); open != std::string_view::npos) {
            std::string_view range = inside.substr(open + 1);
            size_t comma = range.find(','), end = range.find(']');
            if (comma != std::string_view::npos && end != std::string_view::npos && comma < end) {
                n.ranged = true;
                n.low = Bound(range.substr(0, comma));
                n.high = Bound(range.substr(comma + 1, end - comma - 1));
            }
            inside = inside.substr(0, open);
        }
        while (!inside.empty() && inside.back() == ' ') inside.remove_suffix(1);
        if (inside.size() >= 2 && inside.front() == '\'' && inside.back() == '\'') {
            n.kind = Kind::Property;
            n.name = std::string(inside.substr(1, inside.size() - 2));
        } else {
            n.kind = Kind::Type;
            n.name = std::string(inside);
        }
        return Add(std::move(n));
    }
};

int ValueGrammar::Compile(std::string_view syntax) {
    Parser p{*this, syntax};
    size_t mark = nodes_.size();
    int root = p.One();
    p.Blanks();
    if (!p.ok || p.i < syntax.size()) {
        nodes_.resize(mark);
        return -1;
    }
    Resolve();
    return root;
}

void ValueGrammar::Resolve() {
    for (GrammarNode& n : nodes_) {
        if (n.target >= 0 || n.kind == Kind::Builtin) continue;
        if (n.kind == Kind::Property) {
            n.target = PropertyRoot(n.name);
        } else if (n.kind == Kind::Type) {
            auto it = std::lower_bound(types_.begin(), types_.end(), n.name,
                                       [](const auto& e, const std::string& name) { return e.first < name; });
            if (it != types_.end() && it->first == n.name) {
                n.target = it->second;
                continue;
            }
            n.kind = Kind::Builtin;
            n.builtin = BuiltinType::AnyToken;
            for (const auto& b : kBuiltins)
                if (b.name == n.name) n.builtin = b.type;
        }
    }
}

ValueGrammar::ValueGrammar() {
    nodes_.reserve(16384);
    auto overridden = [](std::string_view name) {
        for (const auto& o : kOverrides)
            if (o.name == name) return true;
        return false;
    };
    auto builtin = [](std::string_view name) {
        for (const auto& b : kBuiltins)
            if (b.name == name) return true;
        return false;
    };
    std::vector<CssSyntaxEntry> types(std::begin(kOverrides), std::end(kOverrides));
    for (const CssSyntaxEntry& e : CssTypeSyntaxes())
        if (!overridden(e.name) && !builtin(e.name)) types.push_back(e);
    for (const CssSyntaxEntry& e : types) {
        Parser p{*this, e.syntax};
        int root = p.One();
        if (p.ok) types_.emplace_back(std::string(e.name), root);
    }
    std::sort(types_.begin(), types_.end());
    for (const CssSyntaxEntry& e : CssPropertySyntaxes()) {
        Parser p{*this, e.syntax};
        int root = p.One();
        if (p.ok) properties_.emplace_back(e.name, root);
    }
    Resolve();
}

int ValueGrammar::PropertyRoot(std::string_view name) const {
    auto it = std::lower_bound(properties_.begin(), properties_.end(), name,
                               [](const auto& e, std::string_view n) { return e.first < n; });
    return it != properties_.end() && it->first == name ? it->second : -1;
}

const ValueGrammar& ValueGrammar::Get() {
    static const ValueGrammar grammar;
    return grammar;
}

}  // namespace larkspur
