#pragma once
// ReportLayout: a banded report described as data, apart from the code that lays it out
// (BandReport) and paints it (ReportCanvas).
//
// A report walks one data set (the master), printing its detail bands once per row; it may walk
// a second data set (the sub-detail) under each master row, framed by the sub-detail's header
// and footer bands, which print only when that row has sub-detail rows. Bands of the other
// types print once (title, summary) or on every page (page header, column header, page
// footer). A child band prints right after the band it belongs to.
//
// Positions and heights are millimetres: elements from their band's left and top edge, bands
// stacked from the top of the printable area (the page less its margins). Font sizes are
// points.

#include <QColor>
#include <QString>
#include <vector>

namespace reports {

enum class BandType {
  Title,            // first page only, after the page header
  PageHeader,       // top of every page
  ColumnHeader,     // every page, after the title
  Detail,           // once per master row
  SubDetailHeader,  // before a master row's sub-detail rows
  SubDetail,        // once per sub-detail row
  SubDetailFooter,  // after a master row's sub-detail rows
  Child,            // right after its parent band
  Summary,          // once, after the last master row
  PageFooter,       // foot of every page
};

// How a field's value is printed.
enum class ValueFormat {
  Text,   // string fields as stored
  Money,  // the program's currency format; an empty value prints blank
  Count,  // a whole number
};

enum class SystemData { Date, PageNumber };

struct ReportFont {
  QString family;
  double points = 10;
  QColor color = Qt::black;
  bool bold = true;
};

struct ReportElement {
  enum class Kind { Label, DBText, SysData };
  QString name;
  Kind kind = Kind::Label;
  QString caption;  // Label
  QString dataSet;  // DBText
  QString field;    // DBText
  ValueFormat format = ValueFormat::Text;
  SystemData system = SystemData::Date;  // SysData
  double left = 0;
  double top = 0;
  bool centred = false;  // centred on the band: `left` is then not used
  ReportFont font;
};

struct ReportBand {
  QString name;
  BandType type = BandType::Detail;
  double height = 0;
  std::vector<ReportElement> elements;
  QString parent;  // Child: the band it follows
};

struct ReportLayout {
  QString title;           // print job and preview caption
  double pageWidth = 210;  // A4 portrait
  double pageHeight = 297;
  double margin = 10;  // on all four sides
  QString master;
  QString subDetail;  // empty when the report has no sub-detail
  std::vector<ReportBand> bands;

  double printableWidth() const { return pageWidth - 2 * margin; }
  double printableHeight() const { return pageHeight - 2 * margin; }
};

// Bands and their elements, as the layouts write them.
ReportBand band(QString name, BandType type, double height, std::vector<ReportElement> elements,
                QString parent = {});
ReportElement label(QString name, QString caption, double left, double top, ReportFont font);
ReportElement centredLabel(QString name, QString caption, double top, ReportFont font);
ReportElement dbText(QString name, QString dataSet, QString field, double left, double top,
                     ReportFont font, ValueFormat format = ValueFormat::Text);
ReportElement sysData(QString name, SystemData data, double left, double top, ReportFont font);

}  // namespace reports
