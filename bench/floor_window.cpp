#include "floor_window.h"

#include "core/chemistry.h"
#include "resources/programicon.h"
#include "ui/controls.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

enum class Kind { Frame, Label, RightLabel, Result, Field, Spin, List, Option, Button };

// How a control is at a start, beyond its text.
enum class State { Normal, Disabled, Checked };

// One control: its kind, its container (a frame's index in this table, or -1 for the panel), its
// place in pixels, the text it shows at a start and its state.
struct Piece
{
    Kind kind;
    int container;
    int left, top, width, height;
    const char* text;
    State state = State::Normal;
};

// The main window's controls as they are at a start with the shipped settings, in pixels.
constexpr Piece Pieces[] = {
    {Kind::Frame, -1, 8, 8, 193, 153, "Sulphite Data"},
    {Kind::List, 0, 16, 32, 161, 21, nullptr},
    {Kind::Option, 0, 16, 72, 73, 20, "Powder", State::Checked},
    {Kind::Option, 0, 16, 96, 73, 20, "Solution"},
    {Kind::Field, 0, 96, 96, 50, 20, "10.00", State::Disabled},
    {Kind::Spin, 0, 146, 96, 17, 20, nullptr, State::Disabled},
    {Kind::Label, 0, 168, 96, 17, 20, "%", State::Disabled},
    {Kind::Option, 0, 16, 120, 65, 20, "Tablet"},
    {Kind::Field, 0, 96, 120, 50, 20, "0.44", State::Disabled},
    {Kind::Spin, 0, 146, 120, 17, 20, nullptr, State::Disabled},
    {Kind::Label, 0, 168, 120, 17, 20, "g", State::Disabled},
    {Kind::Frame, -1, 8, 168, 193, 89, "Batch Data"},
    {Kind::Label, 11, 8, 24, 49, 20, "Size"},
    {Kind::Field, 11, 40, 24, 50, 20, "5.00"},
    {Kind::Spin, 11, 90, 24, 17, 20, nullptr},
    {Kind::List, 11, 112, 24, 73, 21, nullptr},
    {Kind::Label, 11, 8, 56, 25, 20, "pH"},
    {Kind::Field, 11, 40, 56, 50, 20, "3.50"},
    {Kind::Spin, 11, 90, 56, 17, 20, nullptr},
    {Kind::RightLabel, -1, 264, 24, 57, 20, "Target"},
    {Kind::List, -1, 344, 24, 129, 21, nullptr},
    {Kind::Label, -1, 344, 56, 65, 20, "Total Free  "},
    {Kind::Label, -1, 424, 56, 65, 20, "Molecular"},
    {Kind::Label, -1, 352, 72, 49, 20, "(mg/L)"},
    {Kind::Label, -1, 432, 72, 49, 20, "(mg/L)"},
    {Kind::RightLabel, -1, 248, 96, 81, 20, "Existing SO2"},
    {Kind::Field, -1, 344, 96, 50, 20, "0.00"},
    {Kind::Spin, -1, 394, 96, 17, 20, nullptr},
    {Kind::Result, -1, 424, 96, 50, 20, "0.00"},
    {Kind::RightLabel, -1, 248, 120, 81, 20, "Target SO2"},
    {Kind::Field, -1, 344, 120, 50, 20, "0.00"},
    {Kind::Spin, -1, 394, 120, 17, 20, nullptr},
    {Kind::Field, -1, 424, 120, 50, 20, "0.00", State::Disabled},
    {Kind::Spin, -1, 474, 120, 17, 20, nullptr, State::Disabled},
    {Kind::RightLabel, -1, 216, 144, 113, 20, "SO2 Requirement"},
    {Kind::Result, -1, 344, 144, 50, 20, "0.00"},
    {Kind::Result, -1, 424, 144, 50, 20, "0.00"},
    {Kind::RightLabel, -1, 208, 192, 121, 20, "Required Addition "},
    {Kind::Result, -1, 344, 192, 65, 20, "0.00"},
    {Kind::List, -1, 424, 192, 57, 21, nullptr},
    {Kind::Button, -1, 344, 232, 129, 25, "&Calculate"},
};

// The items of the four lists, in the order the table gives them, and the item each shows.
struct ListItems
{
    QStringList items;
    QString current;
};

std::vector<ListItems> ListContents()
{
    using namespace ardovin;
    QStringList additionUnits;
    for (const OfferedUnit& offered : RowOf(SourceForm::Powder).units)
        additionUnits << ListText(offered.unit);
    return {
        {SourceItems(), ListText(SulphiteSource::PotassiumMetabisulphite)},
        {BatchUnitItems(), ListText(BatchUnit::USGallon)},
        {TargetItems(), ListText(TargetKind::TotalFree)},
        {additionUnits, ListText(AdditionUnit::Grams)},
    };
}

QWidget* CreatePiece(const Piece& piece, QWidget* parent)
{
    const QString text = QString::fromUtf8(piece.text ? piece.text : "");
    switch (piece.kind) {
    case Kind::Frame:
        return new QGroupBox(text, parent);
    case Kind::Label:
    case Kind::RightLabel: {
        auto* label = new QLabel(text, parent);
        if (piece.kind == Kind::RightLabel)
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    }
    case Kind::Result: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, ardovin::LightGrey());
        label->setPalette(palette);
        return label;
    }
    case Kind::Field:
        return new QLineEdit(text, parent);
    case Kind::Spin:
        return new QScrollBar(Qt::Vertical, parent);
    case Kind::List:
        return new QComboBox(parent);
    case Kind::Option:
        return new QRadioButton(text, parent);
    case Kind::Button:
        return new QPushButton(text, parent);
    }
    return nullptr;
}

void AddMenus(QMenuBar& bar)
{
    const std::pair<const char*, std::vector<const char*>> menus[] = {
        {"&File", {"E&xit"}},
        {"&Edit", {"Cu&t", "&Copy", "&Paste"}},
        {"&Options", {}}, // a command of the bar itself
        {"&Tools",
         {"&Calculator", "&Sulphite Table Generator", "Free SO2 by &pH...", "Cellar &Book...",
          "&Record Addition..."}},
        {"&Help",
         {"&Ardovin Manual", "Ardovin &Web Page", "&Email the author", nullptr, "&About Ardovin"}},
    };
    for (const auto& [caption, items] : menus) {
        if (items.empty()) {
            bar.addAction(QString::fromUtf8(caption));
            continue;
        }
        QMenu* menu = bar.addMenu(QString::fromUtf8(caption));
        for (const char* item : items) {
            if (item)
                menu->addAction(QString::fromUtf8(item));
            else
                menu->addSeparator();
        }
    }
}

} // namespace

std::unique_ptr<QMainWindow> FloorWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("Ardovin"));
    window->setWindowIcon(ardovin::ProgramIcon());
    AddMenus(*window->menuBar());

    // The fonts Ardovin shows where the system has no font of the layout's own family.
    QFont font = QApplication::font();
    font.setPointSizeF(9.75);
    QFont listFont = font;
    listFont.setPointSizeF(8.25);

    auto* client = new QWidget;
    client->setFixedSize(510, 274);
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    auto* panel = new QWidget(client);
    panel->setGeometry(2, 0, 507, 273);

    std::vector<QWidget*> created;
    std::vector<ListItems> lists = ListContents();
    auto nextList = lists.begin();
    for (const Piece& piece : Pieces) {
        QWidget* parent = piece.container < 0 ? panel : created[size_t(piece.container)];
        QWidget* control = CreatePiece(piece, parent);
        control->setGeometry(piece.left, piece.top, piece.width, piece.height);
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setFont(listFont);
            list->addItems(nextList->items);
            list->setCurrentText(nextList->current);
            ++nextList;
        } else {
            control->setFont(font);
        }
        control->setEnabled(piece.state != State::Disabled);
        if (piece.state == State::Checked)
            static_cast<QRadioButton*>(control)->setChecked(true);
        created.push_back(control);
    }
    return window;
}
