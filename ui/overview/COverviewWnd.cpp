#include "ui/overview/COverviewWnd.h"

#include "ui/exchange/SettingsProfile.h"
#include "ui/overview/GridActions.h"
#include "ui/overview/LampStrip.h"
#include "ui/overview/OverviewGridView.h"
#include "ui/widgets/Resources.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <chrono>

namespace tevra {

namespace {

// One frame of a 60 Hz screen: the playing column moves no later than this after its time.
constexpr std::chrono::milliseconds kFrameInterval{16};
constexpr const char* kGeometryGroup = "Overview";

std::chrono::microseconds steadyNow() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

// Reached by Tab, as in the editor, but never by a click, so that Left, Right and Space stay
// with the grid and the window.
template <typename W> W* tabbed(W* widget, const QString& name) {
    widget->setFocusPolicy(Qt::TabFocus);
    widget->setObjectName(name);
    return widget;
}

} // namespace

COverviewWnd::COverviewWnd(EditorPresenter& editor, QWidget* parent)
    : QWidget(parent, Qt::Window), m_presenter(editor, steadyNow),
      m_gridEditor(editor, m_selection) {
    setWindowTitle(QString::fromUtf8(kOverviewTitle));
    setWindowIcon(appIcon());
    if (parent != nullptr) {
        // A window does not inherit its parent's font; the overview uses the dialogs' one.
        setFont(parent->font());
    }
    buildWidgets();
    bindControls();
    placeWindow();
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    m_frameTimer.setInterval(kFrameInterval);
    applyView();
}

void COverviewWnd::buildWidgets() {
    m_play = tabbed(new QPushButton(QStringLiteral("Пуск")), QStringLiteral("playButton"));
    m_pause = tabbed(new QPushButton(QStringLiteral("Пауза")), QStringLiteral("pauseButton"));
    m_stop = tabbed(new QPushButton(QStringLiteral("Стоп")), QStringLiteral("stopButton"));
    m_speed = tabbed(new QComboBox, QStringLiteral("speedCombo"));
    for (const char* text : kPlaybackSpeedTexts) {
        m_speed->addItem(QString::fromUtf8(text));
    }
    m_speed->setCurrentIndex(static_cast<int>(m_presenter.speed()));
    m_byTime = tabbed(new QCheckBox(QStringLiteral("По времени")), QStringLiteral("byTimeCheck"));
    m_grid = new OverviewGridView(m_presenter, m_selection);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_actions = new GridActions(m_gridEditor, this);
    m_undo = tabbed(new QToolButton, QStringLiteral("undoButton"));
    m_undo->setDefaultAction(m_actions->undoAction());
    m_redo = tabbed(new QToolButton, QStringLiteral("redoButton"));
    m_redo->setDefaultAction(m_actions->redoAction());
    m_selectionStatus = new QLabel;
    m_selectionStatus->setObjectName(QStringLiteral("selectionLabel"));
    m_lamps = new LampStrip;
    m_lamps->setObjectName(QStringLiteral("lamps"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusLabel"));

    auto* controls = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{m_play, m_pause, m_stop, m_speed}) {
        controls->addWidget(widget);
    }
    controls->addSpacing(kWindowGapPx);
    controls->addWidget(m_byTime);
    controls->addStretch();
    controls->addWidget(m_undo);
    controls->addWidget(m_redo);
    auto* statusLine = new QHBoxLayout;
    statusLine->addWidget(m_status);
    statusLine->addStretch();
    statusLine->addWidget(m_selectionStatus);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_grid);
    layout->addWidget(m_lamps);
    layout->addLayout(statusLine);
    layout->addStretch();
    // The grid first: keys go to the window until Tab moves on to the controls.
    setTabOrder(m_grid, m_play);
    m_grid->setFocus();
}

void COverviewWnd::bindControls() {
    const auto bind = [this](QPushButton* button, void (OverviewPresenter::*press)()) {
        connect(button, &QPushButton::clicked, this, [this, press] {
            (m_presenter.*press)();
            applyView();
        });
    };
    bind(m_play, &OverviewPresenter::playPressed);
    bind(m_pause, &OverviewPresenter::pausePressed);
    bind(m_stop, &OverviewPresenter::stopPressed);
    connect(m_speed, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_presenter.speedChosen(static_cast<PlaybackSpeed>(index));
        applyView();
    });
    connect(m_byTime, &QCheckBox::toggled, this, [this](bool byTime) {
        m_presenter.setColumnsByTime(byTime);
        m_grid->refresh();
        m_grid->ensureStepVisible(m_presenter.currentStep());
    });
    connect(m_grid, &OverviewGridView::pressed, this, [this](const GridHit& hit, bool extend) {
        m_selection.press(hit, extend, m_presenter.program().stepCount());
        if (m_presenter.clicked(hit)) {
            emit editorChanged();
        }
        applySelection();
    });
    connect(m_grid, &OverviewGridView::dragged, this, [this](const GridHit& hit) {
        m_selection.dragTo(hit, m_presenter.program().stepCount());
        cursorMoved();
    });
    connect(m_actions, &GridActions::done, this, &COverviewWnd::gridEdited);
    connect(&m_frameTimer, &QTimer::timeout, this, &COverviewWnd::playFrame);
}

void COverviewWnd::placeWindow() {
    if (restoreGeometry(SettingsProfile().readGeometry(QString::fromLatin1(kGeometryGroup)))) {
        return;
    }
    resize(sizeHint());
    const QWidget* editor = parentWidget();
    if (editor == nullptr) {
        return;
    }
    // Not shown yet, the window has no frame: the editor's, drawn by the same window manager,
    // stands in for it.
    const QRect editorFrame = editor->frameGeometry();
    const QMargins frame(editor->geometry().left() - editorFrame.left(),
                         editor->geometry().top() - editorFrame.top(),
                         editorFrame.right() - editor->geometry().right(),
                         editorFrame.bottom() - editor->geometry().bottom());
    const QRect available = editor->screen()->availableGeometry();
    const QSize frameSize = size().grownBy(frame);
    const ScreenRect place = OverviewPresenter::firstPlace(
        {editorFrame.left(), editorFrame.top(), editorFrame.width(), editorFrame.height()},
        frameSize.width(), minimumSizeHint().grownBy(frame).width(), frameSize.height(),
        {available.left(), available.top(), available.width(), available.height()});
    setGeometry(QRect(place.left, place.top, place.width, place.height).marginsRemoved(frame));
}

void COverviewWnd::editorRefreshed() {
    const std::optional<int> moved = m_presenter.refresh();
    // The scroll range follows the new count before the grid scrolls within it.
    applyView();
    if (moved) {
        m_grid->ensureStepVisible(*moved);
    }
    m_selection.follow(m_presenter.currentStep(), m_presenter.selectedChannel(),
                       m_presenter.program().stepCount());
    m_actions->updateUndoActions();
    applySelection();
}

void COverviewWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        m_grid->refresh();
        m_grid->ensureStepVisible(m_presenter.reveal());
    }
}

void COverviewWnd::cursorMoved() {
    const GridHit cursor{m_selection.cursorStep(), m_selection.cursorChannel()};
    if (m_presenter.clicked(cursor)) {
        emit editorChanged();
    }
    m_grid->ensureStepVisible(m_selection.cursorStep());
    applySelection();
}

void COverviewWnd::gridEdited(const GridOutcome& outcome) {
    m_message = outcome.message;
    if (outcome.changed) {
        emit editorChanged();
    }
    applySelection();
}

void COverviewWnd::applySelection() {
    const std::string& text = m_message.empty() ? m_selection.statusText() : m_message;
    m_selectionStatus->setText(QString::fromStdString(text));
    m_grid->refresh();
}

void COverviewWnd::applyView() {
    m_grid->refresh();
    m_lamps->setLamps(m_presenter.lamps());
    m_status->setText(QString::fromStdString(m_presenter.statusText()));
    const PlaybackControls controls = m_presenter.controls();
    m_play->setEnabled(controls.playEnabled);
    m_pause->setEnabled(controls.pauseEnabled);
    m_stop->setEnabled(controls.stopEnabled);
    if (m_presenter.playbackState() == PlaybackState::Playing) {
        if (!m_frameTimer.isActive()) {
            m_frameTimer.start();
        }
    } else {
        m_frameTimer.stop();
    }
}

void COverviewWnd::playFrame() {
    const bool began = m_presenter.tick();
    if (m_presenter.playbackState() != PlaybackState::Playing) {
        // The program lost its last step.
        applyView();
        return;
    }
    if (began) {
        m_grid->refresh();
        m_grid->ensureStepVisible(*m_presenter.playingStep());
        m_lamps->setLamps(m_presenter.lamps());
    }
    m_status->setText(QString::fromStdString(m_presenter.statusText()));
}

bool COverviewWnd::moveCursor(QKeyEvent* event) {
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    const int count = m_presenter.program().stepCount();
    const int channel = m_selection.cursorChannel();
    switch (event->key()) {
    case Qt::Key_Left:
        m_selection.moveBy(-1, 0, extend, count);
        return true;
    case Qt::Key_Right:
        m_selection.moveBy(1, 0, extend, count);
        return true;
    case Qt::Key_Up:
        m_selection.moveBy(0, -1, extend, count);
        return true;
    case Qt::Key_Down:
        m_selection.moveBy(0, 1, extend, count);
        return true;
    case Qt::Key_Home:
        m_selection.moveTo(1, channel, extend, count);
        return true;
    case Qt::Key_End:
        m_selection.moveTo(count, channel, extend, count);
        return true;
    default:
        return false;
    }
}

void COverviewWnd::keyPressEvent(QKeyEvent* event) {
    m_message.clear();
    if (moveCursor(event)) {
        cursorMoved();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        m_selection.clear();
        applySelection();
        return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_presenter.playPausePressed();
            applyView();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void COverviewWnd::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    m_actions->fillMenu(menu);
    menu.exec(event->globalPos());
}

void COverviewWnd::closeEvent(QCloseEvent* event) {
    m_presenter.stopPressed();
    applyView();
    SettingsProfile().writeGeometry(QString::fromLatin1(kGeometryGroup), saveGeometry());
    QWidget::closeEvent(event);
}

} // namespace tevra
