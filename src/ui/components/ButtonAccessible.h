#pragma once

class QWidget;

namespace ButtonAccessible {

/// Makes the program's picture buttons (TImageBt, TRegionBt) push buttons for assistive
/// technology, with a press action that clicks them. Called by each button; the first call
/// installs the factory.
void install();

} // namespace ButtonAccessible
