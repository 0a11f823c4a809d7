// MainWindowControls: every control of the main window frmMain, named as in the window's design.
#pragma once

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace zentrix::ui {

/// The controls of frmMain, in the shape of a uic-made struct. Each widget's objectName is its
/// member name; array elements are named `Text2_0` .. `Text2_5`, `CarryNumber_0` .. and so on.
/// The window owns the widgets; BuildMainWindowControls() fills the struct.
struct MainWindowControls
{
    // Heading line: "第" [Latest + 1] "回予想".
    QLabel* Label6 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLabel* Label7 = nullptr;

    // Analysis settings.
    QGroupBox* fraOption = nullptr;
    QCheckBox* chkConsecut = nullptr;
    QGroupBox* Carry = nullptr;
    std::array<QRadioButton*, 3> CarryNumber{};
    QButtonGroup* CarryNumberGroup = nullptr; ///< ids 0..2, the index of CarryNumber
    QGroupBox* Frame3 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label9 = nullptr;
    QSlider* sldCount = nullptr;
    QGroupBox* Frame4 = nullptr;
    QCheckBox* chkNum = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    QSlider* sldNum = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* Text3 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QCheckBox* chkData = nullptr;
    std::array<QRadioButton*, 2> optData{};
    QButtonGroup* optDataGroup = nullptr; ///< ids 0..1, the index of optData
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QSlider* sldData = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label14 = nullptr;
    QSlider* sldCurrentData = nullptr;
    QPushButton* cmdGen = nullptr;

    // History editor.
    QGroupBox* Frame1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Reading = nullptr;
    QPushButton* Writing = nullptr;
    QPushButton* Delete = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QLineEdit*, 6> Text2{};
    QLabel* Label5 = nullptr;
    QLineEdit* Text8 = nullptr;

    // Bottom of the window.
    QProgressBar* ProgressBar1 = nullptr;
    QFrame* StatusBar1 = nullptr; ///< the 2-pixel strip above StatusBar2
    QLabel* StatusBar2 = nullptr; ///< the one-line status text

    // Menus.
    QMenu* mnuFile = nullptr;
    std::array<QAction*, 1> mnuFileItem{};
    QMenu* mnuPredictions = nullptr;       ///< "予想(&Y)": the saved predictions
    QAction* mnuPredictionsItem = nullptr; ///< "予想履歴(&R)..." opens the 予想履歴 window
    QMenu* mnuHelp = nullptr;
    std::array<QAction*, 4> mnuHelpItem{}; ///< [1] is the separator line
};

} // namespace zentrix::ui
