#pragma once
// FontsAndFormats: the faces the forms' font names stand for, and the program's one way of
// showing numbers and amounts. Called once at start-up by the program, by salary-admin before
// it renders a report, and by the tests; it needs Qt's GUI module only, no widgets.

class QString;

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

}  // namespace toolkit
