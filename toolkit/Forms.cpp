#include "Forms.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include "DialogKeys.h"

namespace toolkit {

void installQtTranslations() {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalogue : {"qtbase_zh_TW", "qt_zh_TW"}) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QString::fromLatin1(catalogue), folder)) {
      QCoreApplication::installTranslator(translator);
      return;
    }
    delete translator;
  }
}

namespace {

// The forms colour their captions through style sheets (blue, red, teal); Qt would keep that
// colour for a highlighted item too, blue on the blue highlight. The form's own rules come
// before any inherited colour.
const char kHighlightRules[] =
    " QMenu::item { padding: 4px 24px 4px 12px; background-color: transparent; }"
    " QMenu::item:selected { color: white; background-color: #1f4e9c; }"
    " QMenu::item:disabled { color: #808080; }"
    " QAbstractItemView { selection-color: white; selection-background-color: #1f4e9c; }";

// A caption spaced out with blanks ("備       註") may be a few pixels wider than the place its
// form leaves it before the next control. Its characters are set closer then, by at most a tenth
// of the font's size each, rather than cutting off its last character or letting it run into
// the control.
void fitCaption(QLabel* label) {
  const QString text = label->text();
  if (text.isEmpty() || label->wordWrap() || !label->pixmap().isNull()) return;
  label->ensurePolished();
  const int excess = label->fontMetrics().horizontalAdvance(text) - label->contentsRect().width();
  if (excess <= 0) return;
  const qreal closer = qreal(excess + 1) / text.size();
  QFont font = label->font();
  if (closer * 10 > QFontInfo(font).pixelSize()) return;
  font.setLetterSpacing(QFont::AbsoluteSpacing, -closer);
  label->setFont(font);
}

}  // namespace

void prepareForm(QWidget* form) {
  form->setStyleSheet(form->styleSheet() + QLatin1String(kHighlightRules));
  DialogKeys::install(form);
  for (auto* label : form->findChildren<QLabel*>()) fitCaption(label);
  for (auto* label : form->findChildren<QLabel*>()) {
    QWidget* buddy = label->buddy();
    if (buddy && buddy->accessibleName().isEmpty()) {
      buddy->setAccessibleName(label->text().simplified());
    }
  }
}

void showMaximized(QWidget* window) {
  if (QScreen* screen = window->screen()) window->setGeometry(screen->availableGeometry());
  window->showMaximized();
}

}  // namespace toolkit
