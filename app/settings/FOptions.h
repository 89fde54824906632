// The options dialog: ten pages chosen from an outline, the common buttons and the page
// buttons. The transfer rules and the Apply steps are the engine's (settings/optionsdialog.h);
// this window only holds the controls and forwards its buttons.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "settings/optionsdialog.h"

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace quorlet {

class TOptions_window : public QWidget, public TOptionsDialog {
    Q_OBJECT

  public:
    explicit TOptions_window(QWidget* parent = nullptr);
    ~TOptions_window() override;

    static constexpr int kPageCount = 10;
    // Where the pages lie, and their size unless their controls need more.
    static constexpr int kPageLeft = 112, kPageTop = 8, kPageWidth = 361, kPageHeight = 429;

    // ---- Handlers ----
    void PageSeLClick();
    void ApplyBtnClick();
    void CancelBtnClick();
    void ExitBtnClick();
    void DefaultBtnClick();
    void DefaultPageBtnClick();
    void sbRegQVFextClick();
    void sbShortcutClick();
    void sbJustifyByCenterClick();
    void cbHistLogClick();
    void cbMarksClick();
    void cbBlitClick();
    void cbChangeLayoutClick();
    void boxCountryChange();
    void sb2Click();
    void sb3Click();
    void sb4Click();
    void sb5Click();
    void mtemplateChange();
    void sbAddFormulaClick();
    void sbSaveCntClick();
    void sbLoadCntClick();
    void sbSaveAutClick();
    void sbloadautClick();
    void sbDefaultAutClick();
    void sbflushlistClick();

    // Record to controls (while the window exists); failures are logged.
    void LoadOptionsWindow();
    // The window's show steps: the page, the level radio button, the load, Apply active.
    void ShowOnPage(int32_t outlineItem);
    // Outline item (from 1) of the page that shows.
    int32_t CurrentPage() const;

    // Questions and file dialogs; tests answer them.
    std::function<bool(const QString& question)> Ask;
    std::function<QString(const QString& folder)> ChooseSaveFile;
    std::function<QString(const QString& folder)> ChooseOpenFile;

    // ---- TOptionsDialog ----
    bool Checked(const char* control) override;
    void SetChecked(const char* control, bool checked) override;
    int32_t Value(const char* control) override;
    void SetValue(const char* control, int32_t value) override;
    std::string Text(const char* control) override;
    void SetText(const char* control, const std::string& text) override;
    int32_t Index(const char* control) override;
    void SetIndex(const char* control, int32_t index) override;
    int32_t Count(const char* control) override;
    std::string ItemText(const char* control, int32_t index) override;
    void Changed(const char* control) override;
    void SetMenuChecks(bool silentMode, uint8_t ircType) override;
    void ShowPlayerName() override;
    void DrawTimer() override;
    void RedrawBoard() override;
    void ShowPage(int32_t item) override;
    void FocusControl(const char* control) override;
    void CloseToMain() override;

    QTreeWidget* PageSeL = nullptr;
    std::array<QWidget*, kPageCount> Pages{};
    QPushButton* ApplyBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* DefaultBtn = nullptr;
    QPushButton* DefaultPageBtn = nullptr;
    QAction* ExitBtn = nullptr;
    QPlainTextEdit* mtemplate = nullptr;
    QPlainTextEdit* auttempl = nullptr;
    QPlainTextEdit* mCntExcludeList = nullptr;
    QLabel* lpos = nullptr;
    QLabel* imFlag = nullptr;
    QComboBox* boxCountry = nullptr;
    QListWidget* LangFLB = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void BuildPages();
    void BuildButtons();
    void FitPages();
    void FillLanguageList();
    void SetCaptionColour(QAbstractButton* button, bool red);
    void SaveMemoToFile(QPlainTextEdit* memo, const char* logLine, const char* errorPrefix);
    void LoadMemoFromFile(QPlainTextEdit* memo, const char* logLine, const char* errorPrefix);
    // A control by its form name; throws when the window has none of that kind.
    template <typename T> T* Control(const char* name) const;

    TOptionsSnapshot snapshot_;
};

} // namespace quorlet
