#pragma once

#include "ui/overview/OverviewPresenter.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tevra {

class LampStrip;
class OverviewGridView;

// "Обзор программы": the whole program beside the editor, with playback. A window of its own
// whose parent is the editor, so that it takes input while the editor runs modally. It reads
// and drives the editor's presenter and only binds widgets to OverviewPresenter.
class COverviewWnd : public QWidget {
    Q_OBJECT

public:
    COverviewWnd(EditorPresenter& editor, QWidget* parent);

    // Call whenever the editor has applied a refreshed view.
    void editorRefreshed();

signals:
    // An input here refreshed the editor's presenter; the editor applies its view.
    void editorChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();
    void bindControls();
    void placeWindow();
    void applyView();
    void playFrame();

    OverviewPresenter m_presenter;
    OverviewGridView* m_grid = nullptr;
    LampStrip* m_lamps = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_stop = nullptr;
    QComboBox* m_speed = nullptr;
    QCheckBox* m_byTime = nullptr;
    QTimer m_frameTimer;
};

} // namespace tevra
