#pragma once

#include "model/ProgramImage.h"
#include "ui/editor/EditorPresenter.h"
#include "ui/editor/ProgramFileDialogs.h"

#include <QDialog>
#include <QPixmap>
#include <array>
#include <memory>
#include <optional>

class QKeyEvent;
class QLabel;
class QMouseEvent;

namespace Ui {
class CEditorDlg;
}

namespace tevra {

class TriStateBitmapButton;
class COverviewWnd;
class EditorPrompts;

// The main window: one step of the program at a time. Binds the widgets to EditorPresenter,
// which holds every rule; after each input the whole window is set from the presenter's view.
class CEditorDlg : public QDialog {
    Q_OBJECT

public:
    // Production path: Qt's file dialogs and message boxes.
    explicit CEditorDlg(QWidget* parent = nullptr);
    CEditorDlg(std::unique_ptr<EditorPrompts> prompts, QWidget* parent = nullptr);
    ~CEditorDlg() override;

    CEditorDlg(const CEditorDlg&) = delete;
    CEditorDlg& operator=(const CEditorDlg&) = delete;

    // The program being edited; the exchange window uploads it.
    const ProgramImage& workingImage() const { return m_presenter.model().working(); }
    const EditorPresenter& presenter() const { return m_presenter; }

    // Reads fileName as "Прочитать" does once its chooser has named the file: a refusal or a
    // failure is reported the same way and leaves the program as it was. An empty name acts as
    // a cancelled chooser.
    void loadProgram(const QString& fileName);

    // Closing asks first when the program differs from the last start, save or load; a
    // cancelled or failed save keeps the window open.
    void done(int result) override;

signals:
    // Every widget now shows the presenter's view.
    void viewApplied();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    struct ChannelWidgets {
        TriStateBitmapButton* primary = nullptr;
        TriStateBitmapButton* secondary = nullptr;
        QLabel* marker = nullptr;
    };

    void bindChannels();
    void bindSliders();
    void bindButtons();
    void addSystemMenuEntry();
    bool handleKey(QKeyEvent* event);
    void handleMousePress(QObject* watched, QMouseEvent* event);
    void focusChanged(QObject* watched);
    FocusedControl focusedControl() const;

    // Moves focus where the presenter put it and, when it refreshed, sets every widget.
    void afterAction();
    void applyView();
    void showOrHide(QWidget* widget, bool visible);
    const QPixmap& pixmapFor(ButtonImage image) const;

    // The copy-steps dialog with its start numbers; nothing when it is cancelled.
    std::optional<CopyRange> chooseCopyRange();
    void copySteps();
    void setStepTimes();
    void insertFromFile();
    bool saveProgram();
    void readProgram();
    void openExchange();
    void shiftTimes(bool longer);
    void showAbout();
    // Ctrl+Z, Ctrl+Y or the context menu: one entry of the history both windows share.
    void stepThroughHistory(bool forward);
    // Opens "Обзор программы" the first time, raises it after.
    void showOverview();

    Ui::CEditorDlg* m_ui;
    std::unique_ptr<EditorPrompts> m_prompts;
    ProgramFileDialogs m_files;
    EditorPresenter m_presenter;
    std::array<ChannelWidgets, kChannelCount> m_channels{};
    QPixmap m_darkBitmap;
    QPixmap m_litBitmap;
    QPixmap m_rampBitmap;
    QPixmap m_blankFace;
    COverviewWnd* m_overview = nullptr;
};

} // namespace tevra
