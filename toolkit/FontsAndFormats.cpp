#include "FontsAndFormats.h"

#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace toolkit {

void installRegionalFormats() {
  QLocale::setDefault(
      QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
}

QString currencyText(double amount) {
  return QLocale().toCurrencyString(amount);
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

}  // namespace toolkit
