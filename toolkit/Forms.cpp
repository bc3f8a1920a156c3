#include "Forms.h"

#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QWidget>

#include "DialogKeys.h"

namespace toolkit {

void installRegionalFormats() {
  QLocale::setDefault(
      QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
}

void installFontSubstitutions() {
  const QStringList kai = {"AR PL UKai TW", "AR PL UKai HK", "AR PL UKai CN", "AR PL UMing TW"};
  const QStringList ming = {"AR PL UMing TW", "AR PL UMing HK", "AR PL UMing CN"};
  QFont::insertSubstitutions(QStringLiteral("標楷體"), kai);
  QFont::insertSubstitutions(QStringLiteral("新細明體"), ming);
  // The Latin faces; their Chinese captions fall back to the Ming face.
  QFont::insertSubstitutions(QStringLiteral("Arial"), QStringList{"Liberation Sans"} + ming);
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             QStringList{"Liberation Sans"} + ming);
  QFont::insertSubstitutions(QStringLiteral("Courier New"), QStringList{"Liberation Mono"} + ming);
}

void prepareForm(QWidget* form) {
  DialogKeys::install(form);
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
