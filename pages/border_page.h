#pragma once
#include <array>
#include <string>

#include "pages/property_page.h"

namespace larkspur {

// The four border shorthands, each composed from a width, a line style and a
// colour.
class CBorderPage : public CPropertyPage {
    Q_OBJECT
public:
    static constexpr int kResourceId = 171;
    enum Side { kTopSide, kBottomSide, kLeftSide, kRightSide };

    explicit CBorderPage(PageHost& host, QWidget* parent = nullptr);

    // Joins the side's width, style and colour as the controls show them
    // into its entry and lists it.
    void ComposeSide(Side side);
    // The width part the side was last composed with.
    const std::string& LastWidth(Side side) const { return lastWidth_[side]; }

protected:
    void LoadExtra() override;

private:
    void WidthClicked(Side side);
    // The width the side's controls give now; empty while it is switched off.
    std::string WidthPart(Side side) const;

    std::array<std::string, 4> lastWidth_{};
};

}  // namespace larkspur
