// What the clerk sees of each page and dialog at its design size: no caption cut off by its
// control or running into another control, and no two visible controls on top of each other
// beyond a shared border. Captions are measured with the fonts the forms really get.
// Set LOOK_SHOTS=<folder> to keep a picture of each screen there.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QValidator>
#include <functional>
#include <map>

#include "app/Program.h"
#include "app/TMainForm.h"
#include "app/TMainMenuForm.h"
#include "employees/EmployeeSearch.h"
#include "pay/TSalaryItemSetForm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "transfer/TSaveDialogBoxForm.h"
#include "users/TChangePinForm.h"
#include "users/TCreatPinForm.h"
#include "users/TDelPinForm.h"
#include "users/TPinForm.h"

namespace {

QWidget* page(const char* name) {
  return MainMenuForm->PageControl1->findChild<QWidget*>(name);
}

// Every page and dialog: one line each. A size is given where the form is shown maximised
// beyond its design size (the smallest screen it is made for).
struct Screen {
  const char* name;
  QWidget* (*widget)();
  QSize size;
};
const Screen kScreens[] = {
    {"entry screen", []() -> QWidget* { return MainForm; }, {800, 600}},
    {"login", []() -> QWidget* { return PinForm; }, {}},
    {"BasicData", [] { return page("BasicData"); }, {}},
    {"SalaryMaintain", [] { return page("SalaryMaintain"); }, {}},
    {"FileTansfer", [] { return page("FileTansfer"); }, {}},
    {"SuperViser", [] { return page("SuperViser"); }, {}},
    {"search panel", []() -> QWidget* { return MainMenuForm->QueryPanel; }, {}},
    {"add user", []() -> QWidget* { return CreatPinForm; }, {}},
    {"change user", []() -> QWidget* { return ChangePinForm; }, {}},
    {"delete user", []() -> QWidget* { return DelPinForm; }, {}},
    {"salary items", []() -> QWidget* { return SalaryItemSetForm; }, {}},
    {"transfer dialog", []() -> QWidget* { return SaveDialogBoxForm; }, {}},
};

bool isContainer(const QWidget* w) {
  const QString kind = QString::fromLatin1(w->metaObject()->className());
  return kind == "QFrame" || kind == "QWidget" || qobject_cast<const QGroupBox*>(w);
}

// The controls a form's design places in `container` (not Qt's own parts of composite widgets).
QList<QWidget*> controlsIn(QWidget* container, QWidget* root) {
  QList<QWidget*> result;
  for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->objectName().isEmpty() || child->objectName().startsWith("qt_")) continue;
    if (child->isWindow() || !child->isVisibleTo(root)) continue;
    result.append(child);
  }
  return result;
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
  const QRect box = label->contentsRect().translated(label->pos());
  const QRect line = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                         fm.size(0, label->text()), box);
  return fm.tightBoundingRect(label->text()).translated(line.left(), line.top() + fm.ascent());
}

// What a picture button needs: its picture and caption laid out as the button paints them,
// inside a frame of two pixels.
QSize buttonNeeds(const QToolButton* button) {
  const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
  QSize icon = button->icon().isNull() ? QSize(0, 0) : button->iconSize();
  QSize need = text;
  if (!icon.isEmpty() && button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon) {
    need = QSize(std::max(icon.width(), text.width()), icon.height() + 3 + text.height());
  } else if (!icon.isEmpty()) {
    need = QSize(icon.width() + 4 + text.width(), std::max(icon.height(), text.height()));
  }
  return need + QSize(4, 4);
}

// A bevel drawn around other controls.
bool surrounds(const QWidget* frame, const QWidget* other) {
  return QString::fromLatin1(frame->metaObject()->className()) == "QFrame" &&
         frame->findChildren<QWidget*>().isEmpty() && frame->geometry().contains(other->geometry());
}

// Why a control's caption does not fit it, or "".
QString clipping(const QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    if (label->text().isEmpty() || label->wordWrap()) return {};
    const QSize text = fm.size(0, label->text());
    const QRect box = label->contentsRect();
    if (text.width() > box.width() || fm.ascent() + fm.descent() > box.height()) {
      return QStringLiteral("caption needs %1x%2, has %3x%4")
          .arg(text.width())
          .arg(text.height())
          .arg(box.width())
          .arg(box.height());
    }
  } else if (qobject_cast<const QToolButton*>(w) || qobject_cast<const QRadioButton*>(w)) {
    auto* button = qobject_cast<const QToolButton*>(w);
    const QSize need = button ? buttonNeeds(button) : w->sizeHint();
    if (need.width() > w->width() || need.height() > w->height()) {
      return QStringLiteral("caption needs %1x%2, has %3x%4")
          .arg(need.width())
          .arg(need.height())
          .arg(w->width())
          .arg(w->height());
    }
  } else if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w)) {
    if (fm.ascent() + fm.descent() + 4 > w->height()) {
      return QStringLiteral("text needs %1 high, has %2")
          .arg(fm.ascent() + fm.descent() + 4)
          .arg(w->height());
    }
  } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
    if (fm.horizontalAdvance(group->title()) > group->width()) return QStringLiteral("title");
  }
  return {};
}

void checkContainer(QWidget* container, QWidget* root, QStringList& faults) {
  const QList<QWidget*> controls = controlsIn(container, root);
  for (int i = 0; i < controls.size(); ++i) {
    QWidget* a = controls[i];
    if (QString why = clipping(a); !why.isEmpty()) faults << a->objectName() + ": " + why;
    if (!container->rect().contains(a->geometry()) && !isPicture(a)) {
      faults << a->objectName() + ": outside " + container->objectName();
    }
    for (int j = i + 1; j < controls.size(); ++j) {
      QWidget* b = controls[j];
      if (isPicture(a) || isPicture(b) || surrounds(a, b) || surrounds(b, a)) continue;
      // Side by side controls may share a border line; a caption must keep clear of others.
      const bool caption = inkOf(a) != a->geometry() || inkOf(b) != b->geometry();
      const QRect common =
          caption ? inkOf(a).adjusted(-1, 0, 1, 0) & inkOf(b) : a->geometry() & b->geometry();
      if (common.isEmpty() || (!caption && (common.width() <= 1 || common.height() <= 1))) {
        continue;
      }
      faults << a->objectName() + " and " + b->objectName() + " overlap";
    }
    if (isContainer(a)) checkContainer(a, root, faults);
  }
}

class Layout : public ::testing::Test {
 protected:
  Layout() {
    folder.addUser("admin", "admin");
    folder.addEmployee("000001", "王小明");
    folder.addEntry("000001", "880105", "1234567.5", "薪水轉帳");
    folder.addEntry("000001", "880205", "36000", "批次轉帳(入帳)");
    program = Program::start(folder.path());
  }

  // Shows the screen as the clerk gets it: its window shown, its page the current one.
  static void show(QWidget* screen, QSize size) {
    QWidget* window = screen->window();
    if (!size.isEmpty()) window->resize(size);
    window->show();
    for (QWidget* w = screen; w && w != window; w = w->parentWidget()) {
      if (auto* tabs = qobject_cast<QTabWidget*>(w)) tabs->setCurrentWidget(screen);
    }
    screen->show();
  }

  TestFolder folder;
  toolkit::ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
};

TEST_F(Layout, NoCaptionIsCutOffAndNoControlsOverlap) {
  ASSERT_TRUE(program);
  const QString shots = qEnvironmentVariable("LOOK_SHOTS");
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(s.name);
    QWidget* screen = s.widget();
    ASSERT_TRUE(screen);
    show(screen, s.size);
    QStringList faults;
    checkContainer(screen, screen, faults);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
    if (!shots.isEmpty()) screen->grab().save(shots + "/" + s.name + ".png");
    screen->window()->hide();
  }
}

TEST_F(Layout, TheEntryPictureFillsTheWindowAndLeavesTheButtonsOnPlainSky) {
  ASSERT_TRUE(program);
  for (QSize size : {QSize(1280, 1024), QSize(1024, 768), QSize(800, 600)}) {
    SCOPED_TRACE(size.width());
    MainForm->resize(size);
    MainForm->show();
    const QImage picture = MainForm->Image1->pixmap().toImage();
    ASSERT_EQ(picture.size(), size);
    // The sky changes from top to bottom only: a row of one colour holds nothing drawn.
    auto plainRow = [&picture](int y) {
      for (int x = 1; x < picture.width(); ++x) {
        if (picture.pixel(x, y) != picture.pixel(0, y)) return false;
      }
      return true;
    };
    const QRect buttons =
        MainForm->ExitSystemBitBtn1->geometry().united(MainForm->EntrySystemBitBtn1->geometry());
    int drawnRows = 0;
    for (int y = 0; y < size.height(); ++y) {
      if (plainRow(y)) continue;
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
  for (; n < 80; ++n) {
    QString text(n + 1, c);
    int pos = 0;
    if (text.size() > edit->maxLength()) break;
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
      if (edit->objectName().isEmpty() || edit->objectName().startsWith("qt_") ||
          elsewhere.contains(edit->objectName())) {
        continue;
      }
      SCOPED_TRACE(edit->objectName().toStdString());
      const int bytes = longestRun(edit, 'W');
      EXPECT_LT(bytes, 80) << "no limit";
      EXPECT_EQ(longestRun(edit, QChar(0x85AA)), bytes / 2) << "薪 takes two bytes";
      if (narrower.count(edit->objectName())) {
        EXPECT_EQ(bytes, narrower.at(edit->objectName()));
      }
      ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

}  // namespace
