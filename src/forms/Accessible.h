#pragma once

// What assistive technology sees of the windows: label and image buttons are push buttons
// named by their trimmed tooltip (or their text) that can be pressed; hidden carrier labels
// (placed outside their window) and decorative pictures, shapes and lines are left out.
namespace Accessible {

// Registers the interfaces once; later calls do nothing.
void install();

} // namespace Accessible
