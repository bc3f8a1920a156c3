#include "ReportLayout.h"

namespace reports {

ReportBand band(QString name, BandType type, double height, std::vector<ReportElement> elements,
                QString parent) {
  ReportBand b;
  b.name = std::move(name);
  b.type = type;
  b.height = height;
  b.elements = std::move(elements);
  b.parent = std::move(parent);
  return b;
}

ReportElement label(QString name, QString caption, double left, double top, ReportFont font) {
  ReportElement e;
  e.name = std::move(name);
  e.caption = std::move(caption);
  e.left = left;
  e.top = top;
  e.font = std::move(font);
  return e;
}

ReportElement centredLabel(QString name, QString caption, double top, ReportFont font) {
  ReportElement e = label(std::move(name), std::move(caption), 0, top, std::move(font));
  e.centred = true;
  return e;
}

ReportElement dbText(QString name, QString dataSet, QString field, double left, double top,
                     ReportFont font, ValueFormat format) {
  ReportElement e = label(std::move(name), {}, left, top, std::move(font));
  e.kind = ReportElement::Kind::DBText;
  e.dataSet = std::move(dataSet);
  e.field = std::move(field);
  e.format = format;
  return e;
}

ReportElement sysData(QString name, SystemData data, double left, double top, ReportFont font) {
  ReportElement e = label(std::move(name), {}, left, top, std::move(font));
  e.kind = ReportElement::Kind::SysData;
  e.system = data;
  return e;
}

}  // namespace reports
