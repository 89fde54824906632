// The formula editor: builds one counters-template line from token buttons and hands it to the
// options dialog's template memo (UiHooks.AppendTemplateLine).
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "stats/formulaeditor.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace quorlet {

// Set once the editor exists.
extern uint8_t FormulaWindowCreated;

class TFormula : public QWidget {
    Q_OBJECT

  public:
    explicit TFormula(QWidget* parent = nullptr);
    ~TFormula() override;

    // The entry UiHooks.ShowFormulaWindow: shown over its opener (the window active now),
    // which stays disabled until the editor hides.
    void ShowEditor();
    // Shown over `opener` (may be null), disabled until the editor hides.
    void ShowEditorOver(QWidget* opener);

    void applyBtnClick();
    void cancelBtnClick();
    void clearBtnClick();
    void undoBtnClick();
    void panelBtnClick();
    void helpBtnClick();
    // The token, operator and bracket buttons by their names.
    QPushButton* Button(const char* name) const;

    // A Yes/No question; true is Yes.
    std::function<bool(const QString& question)> Confirm;
    // The cell-number prompt; an empty text means cancelled.
    std::function<QString()> AskCellNumber;

    QGroupBox* gbName = nullptr;
    QGroupBox* gbOp = nullptr;
    QLineEdit* edName = nullptr;
    QLineEdit* edF = nullptr;
    QCheckBox* cbasText = nullptr;
    QCheckBox* cbasForm = nullptr;
    QPushButton* applyBtn = nullptr;
    QPushButton* cancelBtn = nullptr;
    QPushButton* helpBtn = nullptr;
    QPushButton* panelBtn = nullptr;
    QPushButton* undoBtn = nullptr;
    QPushButton* clearBtn = nullptr;
    QAction* q = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    TFormulaEdit ReadEdit() const;
    void WriteEdit(const TFormulaEdit& edit);
    void TokenClick(const TFormulaToken& token);

    std::map<std::string, QPushButton*> buttons_;
    // The token groups below the fold, and the window's size that shows them.
    QWidget* tokens_ = nullptr;
    int width_ = 0;
    int expandedHeight_ = 0;
    std::string undo_;
    QWidget* opener_ = nullptr;
};

} // namespace quorlet
