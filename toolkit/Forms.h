#pragma once
// Forms: what every form of the program gets once it is built from its design. (The fonts and
// the formats of numbers: FontsAndFormats.)

class QWidget;

namespace toolkit {

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
