#pragma once

// Gives every single-line text field an accessibility interface whose text attributes span the whole value, and
// which assistive tools can edit (insert, delete, replace, set the contents).
// The one Qt 6.4 gives a QLineEdit reports an empty attribute run at each offset, and Orca, which speaks a line
// as the sum of its attribute runs, then drops the last character ("dem" for "demo"). Call once, after the
// application object exists and before the first window. Not on Windows, whose UI Automation reads Qt's own.
void installAccessibleLineEdit();
