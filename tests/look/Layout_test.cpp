// What the clerk sees of each page and dialog at its design size: no caption cut off by its
// control or running into another control, no two visible controls on top of each other beyond
// a shared border, every edit limited by bytes, and the entry picture clear of the buttons.
// Captions are measured with the fonts the forms really get. LOOK_SHOTS=<folder> keeps a picture
// of each screen there.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QValidator>
#include <map>

#include "app/TMainForm.h"
#include "support/ProgramFixture.h"

namespace {

// Every page and dialog, by its name in its form: one line each. A size is given where the form
// is shown maximised beyond its design size (the smallest screen it is made for).
const std::pair<const char*, QSize> kScreens[] = {
    {"TMainForm", {800, 600}}, {"TPinForm", {}},           {"BasicData", {}},
    {"SalaryMaintain", {}},    {"FileTansfer", {}},        {"SuperViser", {}},
    {"QueryPanel", {}},        {"TCreatPinForm", {}},      {"TChangePinForm", {}},
    {"TDelPinForm", {}},       {"TSalaryItemSetForm", {}}, {"TSaveDialogBoxForm", {}},
    {"FileClear", {}},
};

QWidget* screenNamed(const QString& name) {
  for (QWidget* form : QApplication::topLevelWidgets()) {
    if (form->objectName() == name) return form;
    if (auto* w = form->findChild<QWidget*>(name)) return w;
  }
  return nullptr;
}

bool isPicture(const QWidget* w) {
  auto* label = qobject_cast<const QLabel*>(w);
  return label && !label->pixmap().isNull();
}

// Where a frameless label's caption leaves ink; any other control: its whole rectangle.
QRect inkOf(const QWidget* w) {
  auto* label = qobject_cast<const QLabel*>(w);
  if (!label || label->frameShape() != QFrame::NoFrame || label->text().isEmpty()) {
    return w->geometry();
  }
  const QFontMetrics fm = label->fontMetrics();
  const QRect line =
      QStyle::alignedRect(label->layoutDirection(), label->alignment(), fm.size(0, label->text()),
                          label->contentsRect().translated(label->pos()));
  return fm.tightBoundingRect(label->text()).translated(line.left(), line.top() + fm.ascent());
}

// The room a control's caption needs and the room it has; both empty when nothing is to fit.
std::pair<QSize, QSize> captionRoom(const QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    if (label->text().isEmpty() || label->wordWrap()) return {};
    return {{fm.horizontalAdvance(label->text()), fm.ascent() + fm.descent()},
            label->contentsRect().size()};
  }
  if (auto* button = qobject_cast<const QToolButton*>(w)) {
    // Picture and caption as the button lays them out, inside a frame of two pixels.
    const QSize text = fm.size(Qt::TextShowMnemonic, button->text());
    const QSize icon = button->icon().isNull() ? QSize(0, 0) : button->iconSize();
    const bool above = button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
    const QSize need =
        above ? QSize(std::max(icon.width(), text.width()), icon.height() + 3 + text.height())
              : QSize(icon.width() + 4 + text.width(), std::max(icon.height(), text.height()));
    return {need + QSize(4, 4), button->size()};
  }
  if (qobject_cast<const QRadioButton*>(w)) return {w->sizeHint(), w->size()};
  if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w)) {
    return {{0, fm.ascent() + fm.descent() + 4}, w->size()};
  }
  if (auto* group = qobject_cast<const QGroupBox*>(w)) {
    return {{fm.horizontalAdvance(group->title()), 0}, group->size()};
  }
  return {};
}

// A bevel drawn around other controls.
bool surrounds(const QWidget* frame, const QWidget* other) {
  return QString(frame->metaObject()->className()) == "QFrame" &&
         frame->findChildren<QWidget*>().isEmpty() && frame->geometry().contains(other->geometry());
}

void checkContainer(QWidget* container, QWidget* root, QStringList& faults) {
  QList<QWidget*> controls;
  for (QWidget* c : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!c->objectName().isEmpty() && !c->objectName().startsWith("qt_") && !c->isWindow() &&
        c->isVisibleTo(root)) {
      controls.append(c);
    }
  }
  for (int i = 0; i < controls.size(); ++i) {
    QWidget* a = controls[i];
    const auto [need, has] = captionRoom(a);
    if (need.width() > has.width() || need.height() > has.height()) {
      faults << a->objectName() + QString::asprintf(" needs %dx%d, has %dx%d", need.width(),
                                                    need.height(), has.width(), has.height());
    }
    if (auto* grid = qobject_cast<QTableWidget*>(a)) {
      // A line read into the grid shows its values whole ("$1,234,567.50", not "$1,234,56…").
      for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
          const QTableWidgetItem* cell = grid->item(r, c);
          if (cell &&
              grid->fontMetrics().horizontalAdvance(cell->text()) + 6 > grid->columnWidth(c)) {
            faults << a->objectName() + " cuts off " + cell->text();
          }
        }
      }
    }
    if (!isPicture(a) && !container->rect().contains(a->geometry())) {
      faults << a->objectName() + " outside " + container->objectName();
    }
    for (QWidget* b : controls.mid(i + 1)) {
      if (isPicture(a) || isPicture(b) || surrounds(a, b) || surrounds(b, a)) continue;
      // Controls side by side may share a border line; a caption must keep clear of others.
      const bool caption = inkOf(a) != a->geometry() || inkOf(b) != b->geometry();
      const QRect common =
          caption ? inkOf(a).adjusted(-1, 0, 1, 0) & inkOf(b) : a->geometry() & b->geometry();
      if (!common.isEmpty() && (caption || (common.width() > 1 && common.height() > 1))) {
        faults << a->objectName() + " and " + b->objectName() + " overlap";
      }
    }
    const QString kind = a->metaObject()->className();
    if (kind == "QFrame" || kind == "QWidget" || qobject_cast<QGroupBox*>(a)) {
      checkContainer(a, root, faults);
    }
  }
}

class Layout : public ProgramFixture {
 protected:
  Layout() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEntry("000001", "880105", 1234567.5, "薪水轉帳");
    folder.addEntry("000001", "880205", 36000, "批次轉帳(入帳)");
    start();
  }
};

TEST_F(Layout, NoCaptionIsCutOffAndNoControlsOverlap) {
  ASSERT_TRUE(program);
  const QString shots = qEnvironmentVariable("LOOK_SHOTS");
  for (const auto& [name, size] : kScreens) {
    SCOPED_TRACE(name);
    QWidget* screen = screenNamed(name);
    ASSERT_TRUE(screen);
    // Shown as the clerk gets it: its window shown, its page the current one.
    if (!size.isEmpty()) screen->window()->resize(size);
    screen->window()->show();
    QWidget* stack = screen->parentWidget();
    if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr) {
      tabs->setCurrentWidget(screen);
    }
    screen->show();
    QStringList faults;
    checkContainer(screen, screen, faults);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
    if (!shots.isEmpty()) screen->grab().save(shots + "/" + name + ".png");
    screen->window()->hide();
  }
}

TEST_F(Layout, TheEntryPictureFillsTheWindowAndLeavesTheButtonsOnPlainSky) {
  ASSERT_TRUE(program);
  const QRect buttons =
      MainForm->ExitSystemBitBtn1->geometry().united(MainForm->EntrySystemBitBtn1->geometry());
  for (QSize size : {QSize(1280, 1024), QSize(1024, 768), QSize(800, 600)}) {
    SCOPED_TRACE(size.width());
    MainForm->resize(size);
    MainForm->show();
    const QImage picture = MainForm->Image1->pixmap().toImage();
    ASSERT_EQ(picture.size(), size);
    // The sky changes from top to bottom only: a row of one colour holds nothing drawn.
    int drawnRows = 0;
    for (int y = 0; y < size.height(); ++y) {
      bool plain = true;
      for (int x = 1; plain && x < size.width(); ++x)
        plain = picture.pixel(x, y) == picture.pixel(0, y);
      if (plain) continue;
      ++drawnRows;
      EXPECT_FALSE(y >= buttons.top() - 4 && y <= buttons.bottom() + 4) << "row " << y;
    }
    EXPECT_GT(drawnRows, 100);
  }
  MainForm->hide();
}

// The longest run of `c` that `edit` takes by typing.
int longestRun(QLineEdit* edit, QChar c) {
  int n = 0;
  for (QString text(1, c); n < 80 && text.size() <= edit->maxLength(); text += c, ++n) {
    int pos = 0;
    if (edit->validator() && edit->validator()->validate(text, pos) == QValidator::Invalid) break;
  }
  return n;
}

TEST_F(Layout, EveryEditTakesNoMoreCodePage950BytesThanItsFieldOrItsFormAllows) {
  ASSERT_TRUE(program);
  // Where the form allows fewer bytes than the field holds, or the field is not obvious.
  const std::map<QString, int> narrower = {{"EmployeeMemoDBEdit", 16}, {"DBEdit5", 16},
                                           {"QueryEdit", 14},          {"FileEdit", 6},
                                           {"SendDateEdit", 6},        {"UserID", 8}};
  // Amounts take digits; the salary item dialog refuses a wider item with a message.
  const QStringList elsewhere = {"EmployeePayDBEdit", "SalaryItemSetEdit"};
  int checked = 0;
  for (QWidget* form : QApplication::topLevelWidgets()) {
    for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
      const QString name = edit->objectName();
      if (name.isEmpty() || name.startsWith("qt_") || elsewhere.contains(name)) continue;
      SCOPED_TRACE(name.toStdString());
      const int bytes = longestRun(edit, 'W');
      EXPECT_LT(bytes, 80) << "no limit";
      EXPECT_EQ(longestRun(edit, QChar(0x85AA)), bytes / 2) << "薪 takes two bytes";
      if (narrower.count(name)) {
        EXPECT_EQ(bytes, narrower.at(name));
      }
      ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

}  // namespace
