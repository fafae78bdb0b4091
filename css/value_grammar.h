#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace larkspur {

// The data types CSS defines by hand rather than by a value syntax.
enum class BuiltinType : unsigned char {
    Ident,
    CustomIdent,
    DashedIdent,
    Number,
    Integer,
    Zero,
    Percentage,
    Length,
    Angle,
    Time,
    Frequency,
    Resolution,
    Flex,
    Dimension,
    String,
    Url,
    HexColor,
    AnyValue,  // one token or more, whatever they are
    AnyToken,  // a type nobody described: one token, whatever it is
};

// One node of a compiled value definition syntax.
struct GrammarNode {
    enum class Kind : unsigned char {
        Keyword,   // an identifier, lower case in `name`
        Literal,   // "," "/" "[" ... in `name`
        Builtin,   // `builtin`
        Type,      // <name>: the node `target`
        Property,  // <'name'>: the node `target`
        Function,  // name( kids[0] ); no kid: nothing inside
        Paren,     // ( kids[0] )
        Seq,       // kids one after the other
        All,       // &&: every kid, in any order
        Any,       // ||: one kid or more, in any order
        One,       // |: exactly one kid
    };
    Kind kind = Kind::Seq;
    BuiltinType builtin = BuiltinType::AnyToken;
    bool list = false;      // '#': repetitions separated by commas
    bool nonEmpty = false;  // '!': the group must not match nothing
    bool ranged = false;    // numbers of the match lie in [low, high]
    unsigned short min = 1, max = 1;
    int target = -1;
    double low = 0, high = 0;
    std::string name;
    std::vector<int> kids;

    bool Repeats() const { return min != 1 || max != 1 || list || nonEmpty; }
};

// Every property's value syntax compiled into one node table.
class ValueGrammar {
public:
    static const ValueGrammar& Get();

    // The root node of the property's syntax (name in lower case); -1 when
    // the property is not known.
    int PropertyRoot(std::string_view name) const;
    const GrammarNode& Node(int index) const { return nodes_[static_cast<size_t>(index)]; }
    size_t NodeCount() const { return nodes_.size(); }

    // Compiles one syntax into the table (for tests and the table's own
    // entries); its root, or -1 when the text is not a syntax.
    int Compile(std::string_view syntax);

    ValueGrammar();

private:
    struct Parser;
    void Resolve();

    std::vector<GrammarNode> nodes_;
    std::vector<std::pair<std::string_view, int>> properties_;  // sorted by name
    std::vector<std::pair<std::string, int>> types_;            // sorted by name
};

}  // namespace larkspur
