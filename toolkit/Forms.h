#pragma once
// Forms: what every form of the program gets once it is built from its design.

class QString;
class QWidget;

namespace toolkit {

// Maps the font names the forms are designed with ("標楷體", "新細明體", "Arial",
// "Courier New", "MS Sans Serif") to installed faces. Called once at start-up.
void installFontSubstitutions();

// Formats numbers and amounts as in Taiwan (Traditional Chinese), whatever the machine's own
// locale: every amount the program shows (the grid, the reports) reads "$36,000.00", a negative
// one "($100.00)". Called once at start-up.
void installRegionalFormats();

// An amount in the program's one currency format (see installRegionalFormats): what the
// amount edits show while a row is browsed, as the grid and the reports do.
QString currencyText(double amount);

// Qt's own texts (the standard buttons of message boxes, the file dialog, the print preview,
// the context menu of edits) in Traditional Chinese, from Qt's zh_TW catalogue when it is
// installed; without it they stay in English. Called once at start-up.
void installQtTranslations();

// Prepares a form built from its design: Enter and Esc as its buttons declare (DialogKeys),
// each control that a label stands beside (the label's buddy) named for screen readers and test
// clients by the label's caption, and highlighted items (menus, lists, the grid's selected line)
// in white on dark blue, which stays readable whatever caption colours the form sets.
void prepareForm(QWidget* form);

// Shows a window maximised: it covers the screen's work area also where no window manager
// honours the maximised state.
void showMaximized(QWidget* window);

}  // namespace toolkit
