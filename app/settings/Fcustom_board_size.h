// The custom board dialog: width, height and mines with the live density, the three standard
// sizes, Apply and Cancel, and the board presets. The rules are in settings/customboard.
#pragma once

#include <QDialog>

#include <cstdint>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quorlet {

// Set while the dialog exists.
extern uint8_t CustomBoardWindowCreated;

class Tcustom_board_size : public QDialog {
    Q_OBJECT

  public:
    // FormCreate: captions, the initial density, and the main window's show entry.
    explicit Tcustom_board_size(QWidget* parent = nullptr);
    ~Tcustom_board_size() override;

    QSpinBox* edWidth = nullptr;
    QSpinBox* edHeight = nullptr;
    QSpinBox* edMines = nullptr;
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
