#pragma once
// Forms: what every form of the program gets once it is built from its design.

class QWidget;

namespace toolkit {

// Maps the font names the forms are designed with ("標楷體", "新細明體", "Arial",
// "Courier New", "MS Sans Serif") to installed faces. Called once at start-up.
void installFontSubstitutions();

// Formats numbers and amounts as in Taiwan (Traditional Chinese), whatever the machine's own
// locale: every amount the program shows (the grid, the reports) reads "$36,000.00", a negative
// one "($100.00)". Called once at start-up.
void installRegionalFormats();

// Prepares a form built from its design: Enter and Esc as its buttons declare (DialogKeys),
// and each control that a label stands beside (the label's buddy) named for screen readers
// and test clients by the label's caption.
void prepareForm(QWidget* form);

// Shows a window maximised: it covers the screen's work area also where no window manager
// honours the maximised state.
void showMaximized(QWidget* window);

}  // namespace toolkit
