// MainWindowLayout: the one table of frmMain's controls and the builder that walks it.
#include "ui/main_window/MainWindowLayout.h"

#include "ui/common/FittingText.h"
#include "ui/common/Fonts.h"
#include "ui/common/StatusLine.h"
#include "ui/main_window/MainWindowControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace zentrix::ui {
namespace {

using Kind = ControlPlacement::Kind;
using Face = ControlPlacement::Face;

// Every control of the window, in tab order: a container comes before what it holds. The focus
// starts on chkConsecut, the first control that takes it.
// clang-format off
constexpr ControlPlacement kControls[] = {
    {Kind::Frame,        "fraOption",      -1, nullptr,     120,  600, 10695, 3975, "分析設定"},
    {Kind::CheckBox,     "chkConsecut",    -1, "fraOption", 120,  480,  1815,  255, "連番を出現させる"},
    {Kind::Frame,        "Carry",          -1, "fraOption", 2040, 240,  2895,  615, "キャリーの個数"},
    {Kind::OptionButton, "CarryNumber",     0, "Carry",     240,  240,   615,  255, "0個"},
    {Kind::OptionButton, "CarryNumber",     1, "Carry",     1080, 240,   735,  255, "1個"},
    {Kind::OptionButton, "CarryNumber",     2, "Carry",     1920, 240,   735,  255, "2個"},
    {Kind::Frame,        "Frame3",         -1, "fraOption", 120,  960,  4815,  975, "同時予想回数"},
    {Kind::Label,        "Label8",         -1, "Frame3",    240,  240,   135,  255, "1"},
    {Kind::Label,        "Label10",        -1, "Frame3",    2160, 240,   375,  255, "50"},
    {Kind::Label,        "Label9",         -1, "Frame3",    4440, 240,   255,  255, "100"},
    {Kind::Slider,       "sldCount",       -1, "Frame3",    120,  480,  4455,  375},
    {Kind::Frame,        "Frame4",         -1, "fraOption", 120,  2040, 4815, 1695, "偶数／奇数の偏り"},
    {Kind::CheckBox,     "chkNum",         -1, "Frame4",    120,  240,  3975,  255, "偶数／奇数の偏りを有効にする"},
    {Kind::Label,        "Label1",         -1, "Frame4",    120,  600,   735,  255, "偶数寄り"},
    {Kind::Label,        "Label4",         -1, "Frame4",    3960, 600,   735,  255, "奇数寄り"},
    {Kind::Slider,       "sldNum",         -1, "Frame4",    120,  840,  4455,  375},
    {Kind::Label,        "Label13",        -1, "Frame4",    1080, 1380, 1335,  195, "偶数 : 奇数 ="},
    {Kind::TextBox,      "Text3",          -1, "Frame4",    2400, 1320,  855,  255, "3 : 3", Face::Ratio},
    {Kind::Frame,        "Frame5",         -1, "fraOption", 5400, 240,  5175, 3015, "データ反映度の重み付け"},
    {Kind::CheckBox,     "chkData",        -1, "Frame5",    120,  240,  3255,  255, "データ反映の重み付けを有効にする"},
    {Kind::OptionButton, "optData",         0, "Frame5",    120,  720,  4695,  180, "総出現回数に対するデータの偏りによる重み付けを使用", Face::System},
    {Kind::Label,        "Label11",        -1, "Frame5",    120,  960,   975,  375, "総出現回数の多い数字"},
    {Kind::Label,        "Label12",        -1, "Frame5",    3960, 960,  1095,  375, "総出現回数の少ない数字"},
    {Kind::Slider,       "sldData",        -1, "Frame5",    120,  1320, 4935,  375},
    {Kind::OptionButton, "optData",         1, "Frame5",    120,  1920, 4575,  180, "時間軸に対するデータの偏りによる重み付けを使用", Face::System},
    {Kind::Label,        "Label15",        -1, "Frame5",    120,  2160, 1095,  375, "最近よく　　出ている数字"},
    {Kind::Label,        "Label14",        -1, "Frame5",    3960, 2160, 1095,  375, "最近あまり　出てない数字"},
    {Kind::Slider,       "sldCurrentData", -1, "Frame5",    120,  2520, 4935,  375},
    {Kind::Button,       "cmdGen",         -1, "fraOption", 5400, 3480, 5175,  375, "ジェネレート"},

    {Kind::Frame,        "Frame1",         -1, nullptr,     120,  4920, 10695, 1815, "データベース編集"},
    {Kind::CheckBox,     "Check1",         -1, "Frame1",    360,  360,  2295,  255, "過去のデータを編集する"},
    {Kind::Label,        "Label2",         -1, "Frame1",    3240, 360,  1095,  255, "抽選回数　第"},
    {Kind::TextBox,      "Text1",          -1, "Frame1",    4320, 240,   375,  375},
    {Kind::Label,        "Label3",         -1, "Frame1",    4800, 360,   255,  255, "回"},
    {Kind::Frame,        "Frame2",         -1, "Frame1",    5400, 360,  5175, 1095, "当選番号"},
    {Kind::TextBox,      "Text2",           0, "Frame2",    360,  480,   375,  375},
    {Kind::TextBox,      "Text2",           1, "Frame2",    960,  480,   375,  375},
    {Kind::TextBox,      "Text2",           2, "Frame2",    1560, 480,   375,  375},
    {Kind::TextBox,      "Text2",           3, "Frame2",    2160, 480,   375,  375},
    {Kind::TextBox,      "Text2",           4, "Frame2",    2760, 480,   375,  375},
    {Kind::TextBox,      "Text2",           5, "Frame2",    3360, 480,   375,  375},
    {Kind::Label,        "Label5",         -1, "Frame2",    3960, 240,  1095,  255, "ボーナス番号"},
    {Kind::TextBox,      "Text8",          -1, "Frame2",    4320, 480,   375,  375},
    {Kind::Button,       "Reading",        -1, "Frame1",    240,  720,  4695,  375, "読み込み"},
    {Kind::Button,       "Writing",        -1, "Frame1",    240,  1200, 2775,  375, "書き込み"},
    {Kind::Button,       "Delete",         -1, "Frame1",    3240, 1200, 1695,  375, "最新回を削除"},

    {Kind::ProgressBar,  "ProgressBar1",   -1, nullptr,     120,  7080, 10815, 255},
    {Kind::StatusStrip,  "StatusBar1",     -1, nullptr,     0,    7320, 10995,  30},
    {Kind::StatusText,   "StatusBar2",     -1, nullptr,     0,    7350, 10995, 375, "", Face::StatusBar},

    {Kind::Label,        "Label6",         -1, nullptr,     4320, 0,     375,  375, "第", Face::Heading},
    {Kind::TextBox,      "Text9",          -1, nullptr,     4680, 0,     975,  495, "", Face::Heading},
    {Kind::Label,        "Label7",         -1, nullptr,     5640, 0,    1095,  375, "回予想", Face::Heading},
};
// clang-format on

QWidget* CreateWidget(const ControlPlacement& control, QWidget* parent)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Label: {
        auto* label = new QLabel(caption, parent);
        // Labels show their text from the top-left corner and wrap it inside their width.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case Kind::TextBox:
        return new QLineEdit(caption, parent);
    case Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case Kind::OptionButton:
        return new QRadioButton(caption, parent);
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::Slider:
        return new QSlider(Qt::Horizontal, parent);
    case Kind::ProgressBar:
        return new QProgressBar(parent);
    case Kind::StatusStrip: {
        auto* strip = new QFrame(parent);
        strip->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        return strip;
    }
    case Kind::StatusText: {
        auto* text = new StatusLine(parent);
        text->setText(caption);
        text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        text->setContentsMargins(2, 0, 2, 0);
        text->setTextFormat(Qt::PlainText);
        return text;
    }
    }
    return nullptr;
}

void ApplyFace(QWidget* widget, Face face)
{
    switch (face) {
    case Face::Window:
        break;
    case Face::Heading:
        widget->setFont(DesignFont(kGothicFace, 18));
        break;
    case Face::Ratio:
        widget->setFont(DesignFont(kGothicFace, 12));
        break;
    case Face::System:
        // The default face of a Japanese desktop is a proportional Gothic; IPAPGothic stands in
        // for it, and its narrower kana let the long option captions fit their width.
        widget->setFont(DesignFont(kPGothicFace, 9));
        break;
    case Face::StatusBar:
        widget->setFont(DesignFont(kPGothicFace, 9));
        break;
    }
}

template <typename T> T* Take(const QHash<QString, QWidget*>& built, const QString& name)
{
    auto* widget = qobject_cast<T*>(built.value(name));
    Q_ASSERT_X(widget, "BuildMainWindowControls", qPrintable(name));
    return widget;
}

void ShowOnButtonFace(QWidget* field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
}

void SetUpSlider(QSlider* slider, int minimum, int maximum, int value, int pageStep, int tickInterval)
{
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setSingleStep(1);
    slider->setPageStep(pageStep);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
    slider->setTracking(true); // a change event on every value passed while dragging
}

void FillControls(const QHash<QString, QWidget*>& built, QWidget* client, MainWindowControls& ui)
{
    ui.Label6 = Take<QLabel>(built, QStringLiteral("Label6"));
    ui.Text9 = Take<QLineEdit>(built, QStringLiteral("Text9"));
    ui.Label7 = Take<QLabel>(built, QStringLiteral("Label7"));

    ui.fraOption = Take<QGroupBox>(built, QStringLiteral("fraOption"));
    ui.chkConsecut = Take<QCheckBox>(built, QStringLiteral("chkConsecut"));
    ui.Carry = Take<QGroupBox>(built, QStringLiteral("Carry"));
    for (int i = 0; i < int(ui.CarryNumber.size()); ++i)
        ui.CarryNumber[i] = Take<QRadioButton>(built, QStringLiteral("CarryNumber_%1").arg(i));
    ui.Frame3 = Take<QGroupBox>(built, QStringLiteral("Frame3"));
    ui.Label8 = Take<QLabel>(built, QStringLiteral("Label8"));
    ui.Label10 = Take<QLabel>(built, QStringLiteral("Label10"));
    ui.Label9 = Take<QLabel>(built, QStringLiteral("Label9"));
    ui.sldCount = Take<QSlider>(built, QStringLiteral("sldCount"));
    ui.Frame4 = Take<QGroupBox>(built, QStringLiteral("Frame4"));
    ui.chkNum = Take<QCheckBox>(built, QStringLiteral("chkNum"));
    ui.Label1 = Take<QLabel>(built, QStringLiteral("Label1"));
    ui.Label4 = Take<QLabel>(built, QStringLiteral("Label4"));
    ui.sldNum = Take<QSlider>(built, QStringLiteral("sldNum"));
    ui.Label13 = Take<QLabel>(built, QStringLiteral("Label13"));
    ui.Text3 = Take<QLineEdit>(built, QStringLiteral("Text3"));
    ui.Frame5 = Take<QGroupBox>(built, QStringLiteral("Frame5"));
    ui.chkData = Take<QCheckBox>(built, QStringLiteral("chkData"));
    for (int i = 0; i < int(ui.optData.size()); ++i)
        ui.optData[i] = Take<QRadioButton>(built, QStringLiteral("optData_%1").arg(i));
    ui.Label11 = Take<QLabel>(built, QStringLiteral("Label11"));
    ui.Label12 = Take<QLabel>(built, QStringLiteral("Label12"));
    ui.sldData = Take<QSlider>(built, QStringLiteral("sldData"));
    ui.Label15 = Take<QLabel>(built, QStringLiteral("Label15"));
    ui.Label14 = Take<QLabel>(built, QStringLiteral("Label14"));
    ui.sldCurrentData = Take<QSlider>(built, QStringLiteral("sldCurrentData"));
    ui.cmdGen = Take<QPushButton>(built, QStringLiteral("cmdGen"));

    ui.Frame1 = Take<QGroupBox>(built, QStringLiteral("Frame1"));
    ui.Check1 = Take<QCheckBox>(built, QStringLiteral("Check1"));
    ui.Reading = Take<QPushButton>(built, QStringLiteral("Reading"));
    ui.Writing = Take<QPushButton>(built, QStringLiteral("Writing"));
    ui.Delete = Take<QPushButton>(built, QStringLiteral("Delete"));
    ui.Label2 = Take<QLabel>(built, QStringLiteral("Label2"));
    ui.Text1 = Take<QLineEdit>(built, QStringLiteral("Text1"));
    ui.Label3 = Take<QLabel>(built, QStringLiteral("Label3"));
    ui.Frame2 = Take<QGroupBox>(built, QStringLiteral("Frame2"));
    for (int i = 0; i < int(ui.Text2.size()); ++i)
        ui.Text2[i] = Take<QLineEdit>(built, QStringLiteral("Text2_%1").arg(i));
    ui.Label5 = Take<QLabel>(built, QStringLiteral("Label5"));
    ui.Text8 = Take<QLineEdit>(built, QStringLiteral("Text8"));

    ui.ProgressBar1 = Take<QProgressBar>(built, QStringLiteral("ProgressBar1"));
    ui.StatusBar1 = Take<QFrame>(built, QStringLiteral("StatusBar1"));
    ui.StatusBar2 = Take<QLabel>(built, QStringLiteral("StatusBar2"));

    // Each option array is one group: selecting a button clears the others of its array.
    ui.CarryNumberGroup = new QButtonGroup(client);
    ui.CarryNumberGroup->setObjectName(QStringLiteral("CarryNumber"));
    for (int i = 0; i < int(ui.CarryNumber.size()); ++i)
        ui.CarryNumberGroup->addButton(ui.CarryNumber[i], i);
    ui.optDataGroup = new QButtonGroup(client);
    ui.optDataGroup->setObjectName(QStringLiteral("optData"));
    for (int i = 0; i < int(ui.optData.size()); ++i)
        ui.optDataGroup->addButton(ui.optData[i], i);
}

// What a screen reader calls the controls that carry no caption of their own; the others are
// known by their captions.
void NameForScreenReaders(MainWindowControls& ui)
{
    // Unnamed, a frame inside another frame would be called by the outer frame's caption.
    for (QGroupBox* frame : {ui.fraOption, ui.Carry, ui.Frame3, ui.Frame4, ui.Frame5, ui.Frame1, ui.Frame2})
        frame->setAccessibleName(frame->title());
    ui.Text9->setAccessibleName(QStringLiteral("予想する抽選回"));
    ui.sldCount->setAccessibleName(QStringLiteral("同時予想回数"));
    ui.sldNum->setAccessibleName(QStringLiteral("偶数／奇数の偏り"));
    ui.Text3->setAccessibleName(QStringLiteral("偶数 : 奇数"));
    ui.sldData->setAccessibleName(QStringLiteral("総出現回数による重み付けの強さ"));
    ui.sldCurrentData->setAccessibleName(QStringLiteral("時間軸による重み付けの強さ"));
    ui.Text1->setAccessibleName(QStringLiteral("抽選回数"));
    for (int i = 0; i < int(ui.Text2.size()); ++i)
        ui.Text2[i]->setAccessibleName(QStringLiteral("当選番号%1").arg(i + 1));
    ui.Text8->setAccessibleName(QStringLiteral("ボーナス番号"));
    ui.ProgressBar1->setAccessibleName(QStringLiteral("予想番号の生成の進み具合"));
    ui.StatusBar1->setAccessibleName(QStringLiteral("区切り線"));
}

// The design values of the controls that have more than a caption.
void ApplyDesignValues(MainWindowControls& ui)
{
    ShowOnButtonFace(ui.Text9);
    // The heading and the ratio only show what the program puts there.
    ui.Text9->setReadOnly(true);
    ui.Text3->setReadOnly(true);
    // Draw numbers have four digits (five one day); the fields keep their size and fit the face.
    KeepTextInView(ui.Text9);
    KeepTextInView(ui.Text1);

    ui.chkConsecut->setChecked(true);
    ui.CarryNumber[1]->setChecked(true);
    SetUpSlider(ui.sldCount, 1, 100, 5, 10, 10);
    ui.chkNum->setChecked(true);
    SetUpSlider(ui.sldNum, 1, 7, 4, 1, 1);
    ShowOnButtonFace(ui.Text3);
    ui.chkData->setChecked(true);
    ui.optData[0]->setChecked(true);
    SetUpSlider(ui.sldData, 1, 3, 1, 1, 1);
    SetUpSlider(ui.sldCurrentData, 1, 3, 1, 1, 1);
    ui.sldCurrentData->setEnabled(false);

    // The history editor starts switched off: its fields and buttons disabled, on the button face.
    ui.Check1->setChecked(false);
    for (QWidget* button : {static_cast<QWidget*>(ui.Reading), static_cast<QWidget*>(ui.Writing),
                            static_cast<QWidget*>(ui.Delete)})
        button->setEnabled(false);
    QList<QLineEdit*> fields{ui.Text1, ui.Text8};
    fields.append(QList<QLineEdit*>(ui.Text2.begin(), ui.Text2.end()));
    for (QLineEdit* field : fields) {
        field->setEnabled(false);
        ShowOnButtonFace(field);
    }

    ui.ProgressBar1->setRange(0, 100);
    ui.ProgressBar1->setValue(0);
    ui.ProgressBar1->setTextVisible(false);
}

} // namespace

std::span<const ControlPlacement> MainWindowPlacements()
{
    return kControls;
}

QString ControlObjectName(const ControlPlacement& control)
{
    const QString name = QString::fromLatin1(control.name);
    return control.index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(control.index);
}

void BuildMainWindowControls(QWidget* client, MainWindowControls& ui)
{
    QHash<QString, QWidget*> built;
    for (const ControlPlacement& control : kControls) {
        QWidget* parent = control.container ? built.value(QString::fromLatin1(control.container)) : client;
        Q_ASSERT_X(parent, "BuildMainWindowControls", control.name);
        QWidget* widget = CreateWidget(control, parent);
        const QString name = ControlObjectName(control);
        widget->setObjectName(name);
        widget->setGeometry(TwipsToPixels(control.left), TwipsToPixels(control.top),
                            TwipsToPixels(control.width), TwipsToPixels(control.height));
        ApplyFace(widget, control.face);
        built.insert(name, widget);
    }
    FillControls(built, client, ui);
    ApplyDesignValues(ui);
    NameForScreenReaders(ui);
}

} // namespace zentrix::ui
