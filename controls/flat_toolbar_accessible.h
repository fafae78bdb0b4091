#pragma once

namespace larkspur {

// Lets assistive tools see the buttons a CToolBarEx paints itself: one child
// per bar entry, named by its tool tip, with a press action. The bar calls it
// on construction; calling it again does nothing.
void InstallToolbarAccessibility();

}  // namespace larkspur
