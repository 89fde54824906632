// The custom board dialog: width, height and mines with the live density, the three standard
// sizes, Apply and Cancel, and the board presets. The rules are in settings/customboard.
#pragma once

#include <QDialog>
#include <QSpinBox>

#include <cstdint>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace quorlet {

// A spin edit that takes any number of its digits as typed (Apply says what is out of range),
// while its arrows and the values the program puts in stay within its limits.
class TSpinEdit : public QSpinBox {
  public:
    TSpinEdit(QWidget* parent, int digits, int minimum, int maximum, int value);
    void SetLimits(int minimum, int maximum);
    int UpperLimit() const { return maximum_; }
    // value held to the limits.
    void SetLimitedValue(int value);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int minimum_;
    int maximum_;
};

// Set while the dialog exists.
extern uint8_t CustomBoardWindowCreated;

class Tcustom_board_size : public QDialog {
    Q_OBJECT

  public:
    // FormCreate: captions, the initial density, and the main window's show entry.
    explicit Tcustom_board_size(QWidget* parent = nullptr);
    ~Tcustom_board_size() override;

    TSpinEdit* edWidth = nullptr;
    TSpinEdit* edHeight = nullptr;
    TSpinEdit* edMines = nullptr;
    QLabel* lWidth = nullptr;
    QLabel* lHeight = nullptr;
    QLabel* lMines = nullptr;
    QLabel* lDef = nullptr;
    QLabel* lPercents = nullptr;
    QRadioButton* r1 = nullptr;
    QRadioButton* r2 = nullptr;
    QRadioButton* r3 = nullptr;
    QPushButton* bCancel = nullptr;
    QPushButton* bApply = nullptr;
    QPushButton* bSave = nullptr;
    QPushButton* bLoad = nullptr;
    QPushButton* bDelete = nullptr;
    QListWidget* flb = nullptr;
    QAction* ExitBtn = nullptr;

    // The main window's Custom item: placed over the main window, the standard buttons
    // cleared, the current level's values, the preset list, shown with the main window
    // disabled.
    void ShowFromMain();

    void r1Click();
    void r2Click();
    void r3Click();
    void edWidthChange();
    void edMinesChange();
    void bApplyClick();
    void bCancelClick();
    void ExitBtnClick();
    void bSaveClick();
    void bLoadClick();
    void bDeleteClick();
    // The list shows the presets folder again; false when it cannot be read.
    bool RefreshPresetList();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void SetValues(int width, int height, int mines);
    void ShowDensity();
};

} // namespace quorlet
