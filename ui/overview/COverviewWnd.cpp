#include "ui/overview/COverviewWnd.h"

#include "ui/exchange/SettingsProfile.h"
#include "ui/overview/LampStrip.h"
#include "ui/overview/OverviewGridView.h"
#include "ui/widgets/Resources.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
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
    : QWidget(parent, Qt::Window), m_presenter(editor, steadyNow) {
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
    m_grid = new OverviewGridView(m_presenter);
    m_grid->setObjectName(QStringLiteral("grid"));
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
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_grid);
    layout->addWidget(m_lamps);
    layout->addWidget(m_status);
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
    connect(m_grid, &OverviewGridView::clicked, this, [this](const GridHit& hit) {
        if (m_presenter.clicked(hit)) {
            emit editorChanged();
        }
    });
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
}

void COverviewWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        m_grid->refresh();
        m_grid->ensureStepVisible(m_presenter.reveal());
    }
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

void COverviewWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (m_presenter.arrowPressed(event->key() == Qt::Key_Left ? ArrowKey::Left
                                                                  : ArrowKey::Right)) {
            emit editorChanged();
        }
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

void COverviewWnd::closeEvent(QCloseEvent* event) {
    m_presenter.stopPressed();
    applyView();
    SettingsProfile().writeGeometry(QString::fromLatin1(kGeometryGroup), saveGeometry());
    QWidget::closeEvent(event);
}

} // namespace tevra
