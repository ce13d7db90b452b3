#include "ui/editor/CEditorDlg.h"

#include "ui/dialogs/CAboutDlg.h"
#include "ui/dialogs/CCopyStepsDlg.h"
#include "ui/dialogs/CStepTimesDlg.h"
#include "ui/editor/EditorCaptions.h"
#include "ui/editor/EditorPrompts.h"
#include "ui/editor/QtEditorPrompts.h"
#include "ui/exchange/CExchangeDlg.h"
#include "ui/overview/COverviewWnd.h"
#include "ui/overview/GridEditor.h"
#include "ui/widgets/Resources.h"
#include "ui/widgets/TriStateBitmapButton.h"
#include "ui_CEditorDlg.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <string>

#ifdef Q_OS_WIN
// Keeps std::max usable.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tevra {

namespace {

constexpr const char* kCaption = "Tevra 1.1";
constexpr int kSliderPageSize = 1;

#ifdef Q_OS_WIN
// The About entry's system command; the system keeps the low four bits for itself.
constexpr UINT kAboutCommand = 0x0010;
constexpr WPARAM kSystemCommandMask = 0xFFF0;
#endif

// Ticks only at both ends of the range, as a trackbar without automatic ticks draws them.
void setStepSelectorRange(QSlider* slider, int minimum, int maximum) {
    slider->setRange(minimum, maximum);
    slider->setTickInterval(std::max(1, maximum - minimum));
}

} // namespace

CEditorDlg::CEditorDlg(QWidget* parent) : CEditorDlg(std::make_unique<QtEditorPrompts>(), parent) {}

CEditorDlg::CEditorDlg(std::unique_ptr<EditorPrompts> prompts, QWidget* parent)
    : QDialog(parent), m_ui(new Ui::CEditorDlg), m_prompts(std::move(prompts)),
      m_files(*m_prompts, this) {
    initResources();
    m_darkBitmap = QPixmap(QStringLiteral(":/darkBitmap.bmp"));
    m_litBitmap = QPixmap(QStringLiteral(":/litBitmap.bmp"));
    m_rampBitmap = QPixmap(QStringLiteral(":/rampBitmap.bmp"));

    m_ui->setupUi(this);
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(appIcon());
    setFixedSize(size());

    bindChannels();
    bindSliders();
    bindButtons();
    addSystemMenuEntry();

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }

    applyView();
    afterAction();
}

CEditorDlg::~CEditorDlg() {
    // The overview reads the presenter, which would go before the children it owns.
    delete m_overview;
    delete m_ui;
}

void CEditorDlg::bindChannels() {
    QPixmap marker(QStringLiteral(":/marker.bmp"));
    // The arrow's white ground shows the dialog through it, as on the original face.
    marker.setMask(marker.createMaskFromColor(Qt::white));
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const QString number = QString::number(channel + 1);
        ChannelWidgets& widgets = m_channels[static_cast<std::size_t>(channel)];
        widgets.primary = findChild<TriStateBitmapButton*>(QStringLiteral("primary") + number);
        widgets.secondary = findChild<TriStateBitmapButton*>(QStringLiteral("secondary") + number);
        widgets.marker = findChild<QLabel*>(QStringLiteral("marker") + number);
        widgets.marker->setPixmap(marker);
        // The buttons show only bitmaps; a screen reader needs their names.
        widgets.primary->setAccessibleName(QStringLiteral("Канал ") + number);
        widgets.secondary->setAccessibleName(QStringLiteral("Канал %1, диммер").arg(number));

        connect(widgets.primary, &TriStateBitmapButton::clicked, this, [this, channel, &widgets] {
            m_presenter.channelButtonClicked(channel, ChannelButton::Primary,
                                             widgets.primary->state());
            afterAction();
        });
        connect(widgets.secondary, &TriStateBitmapButton::clicked, this, [this, channel, &widgets] {
            m_presenter.channelButtonClicked(channel, ChannelButton::Secondary,
                                             widgets.secondary->state());
            afterAction();
        });
    }
}

void CEditorDlg::bindSliders() {
    const auto bind = [this](QSlider* slider, EditorSlider which) {
        slider->setPageStep(kSliderPageSize);
        connect(slider, &QSlider::sliderPressed, this, [this] { m_presenter.sliderPressed(); });
        connect(slider, &QSlider::valueChanged, this, [this, which](int position) {
            m_presenter.sliderMoved(which, position);
            afterAction();
        });
    };
    setStepSelectorRange(m_ui->stepSelector, 1, kDefaultStepCount);
    m_ui->dimmerSlider->setRange(kDimmerSliderMin, kDimmerSliderMax);
    m_ui->levelSlider->setRange(kLevelSliderMin, kLevelSliderMax);
    m_ui->stepTimeSlider->setRange(kStepTimeSliderMin, kStepTimeSliderMax);
    m_ui->stepSelector->setAccessibleName(QStringLiteral("Номер шага"));
    m_ui->stepTimeSlider->setAccessibleName(QStringLiteral("Время шага"));
    m_ui->dimmerSlider->setAccessibleName(QStringLiteral("Скорость диммера"));
    m_ui->levelSlider->setAccessibleName(QStringLiteral("Яркость"));
    bind(m_ui->stepSelector, EditorSlider::StepSelector);
    bind(m_ui->stepTimeSlider, EditorSlider::StepTime);
    bind(m_ui->dimmerSlider, EditorSlider::DimmerSpeed);
    bind(m_ui->levelSlider, EditorSlider::Brightness);
}

void CEditorDlg::bindButtons() {
    const auto bind = [this](QPushButton* button, auto action) {
        connect(button, &QPushButton::clicked, this, [this, action] {
            action();
            afterAction();
        });
    };
    bind(m_ui->countPlus1Button, [this] { m_presenter.countButtonClicked(1); });
    bind(m_ui->countPlus10Button, [this] { m_presenter.countButtonClicked(10); });
    bind(m_ui->countMinus1Button, [this] { m_presenter.countButtonClicked(-1); });
    bind(m_ui->countMinus10Button, [this] { m_presenter.countButtonClicked(-10); });
    bind(m_ui->insertStepButton, [this] { m_presenter.insertStepClicked(); });
    bind(m_ui->deleteStepButton, [this] { m_presenter.deleteStepClicked(); });
    bind(m_ui->undoButton, [this] { m_presenter.undoClicked(); });
    bind(m_ui->timeFromDimmerButton, [this] { m_presenter.timeFromDimmerClicked(); });

    // These run dialogs of their own and refresh at the right moment themselves.
    connect(m_ui->timesPlusButton, &QPushButton::clicked, this, [this] { shiftTimes(true); });
    connect(m_ui->timesMinusButton, &QPushButton::clicked, this, [this] { shiftTimes(false); });
    connect(m_ui->copyButton, &QPushButton::clicked, this, &CEditorDlg::copySteps);
    connect(m_ui->stepTimesButton, &QPushButton::clicked, this, &CEditorDlg::setStepTimes);
    connect(m_ui->insertFromFileButton, &QPushButton::clicked, this, &CEditorDlg::insertFromFile);
    connect(m_ui->saveButton, &QPushButton::clicked, this, [this] { saveProgram(); });
    connect(m_ui->readButton, &QPushButton::clicked, this, &CEditorDlg::readProgram);
    connect(m_ui->programButton, &QPushButton::clicked, this, &CEditorDlg::openExchange);

    connect(m_ui->stopDimmerCheck, &QCheckBox::clicked, this, [this](bool checked) {
        m_presenter.stopDimmerClicked(checked);
        afterAction();
    });
    connect(m_ui->startBlockCheck, &QCheckBox::clicked, this, [this](bool checked) {
        m_presenter.startBlockClicked(checked);
        afterAction();
    });
}

void CEditorDlg::addSystemMenuEntry() {
#ifdef Q_OS_WIN
    const HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    const std::wstring text = QString::fromUtf8(kAboutMenuText).toStdWString();
    if (menu != nullptr && !text.empty()) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, text.c_str());
    }
#endif
}

#ifdef Q_OS_WIN
bool CEditorDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & kSystemCommandMask) == kAboutCommand) {
        showAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

void CEditorDlg::afterAction() {
    if (const auto channel = m_presenter.focusedPrimaryChannel()) {
        ChannelWidgets& widgets = m_channels[static_cast<std::size_t>(*channel)];
        if (!widgets.primary->hasFocus()) {
            widgets.primary->setFocus(Qt::OtherFocusReason);
        }
    }
    // An action that does not refresh (such as "Старт блок") leaves every widget as it is.
    if (m_presenter.lastRefreshPasses() > 0) {
        applyView();
    }
}

const QPixmap& CEditorDlg::pixmapFor(ButtonImage image) const {
    switch (image) {
    case ButtonImage::Dark:
        return m_darkBitmap;
    case ButtonImage::Lit:
        return m_litBitmap;
    case ButtonImage::Ramp:
        return m_rampBitmap;
    case ButtonImage::None:
        break;
    }
    return m_blankFace;
}

void CEditorDlg::showOrHide(QWidget* widget, bool visible) {
    // A hidden control keeps the focus as the platform's dialogs let it: Qt would hand it on
    // to the next tab stop, a primary button, whose channel the next refresh would select.
    if (!visible && focusWidget() == widget) {
        setFocus(Qt::OtherFocusReason);
    }
    widget->setVisible(visible);
}

void CEditorDlg::applyView() {
    const EditorView& view = m_presenter.view();
    // The sliders' write-back rule lives in the presenter; setting them must not re-enter it.
    const QSignalBlocker stepSelectorBlocker(m_ui->stepSelector);
    const QSignalBlocker stepTimeBlocker(m_ui->stepTimeSlider);
    const QSignalBlocker dimmerBlocker(m_ui->dimmerSlider);
    const QSignalBlocker levelBlocker(m_ui->levelSlider);

    setStepSelectorRange(m_ui->stepSelector, view.stepSelectorMin, view.stepSelectorMax);
    m_ui->stepSelector->setValue(view.stepSelectorPosition);
    m_ui->stepEdit->setText(QString::fromStdString(view.stepText));
    m_ui->countEdit->setText(QString::fromStdString(view.countText));
    m_ui->stepTimeGroup->setTitle(QString::fromStdString(view.stepTimeCaption));
    m_ui->stepTimeSlider->setValue(view.stepTimeSliderPosition);

    for (std::size_t channel = 0; channel < m_channels.size(); ++channel) {
        const ChannelView& shown = view.channels[channel];
        const ChannelWidgets& widgets = m_channels[channel];
        showOrHide(widgets.marker, shown.markerVisible);
        widgets.primary->setImage(pixmapFor(shown.primaryImage));
        widgets.primary->setState(shown.primaryState);
        widgets.primary->setAccessibleDescription(QString::fromStdString(shown.description));
        widgets.secondary->setAccessibleDescription(QString::fromStdString(shown.description));
        widgets.secondary->setImage(pixmapFor(shown.secondaryImage));
        widgets.secondary->setState(shown.secondaryState);
        showOrHide(widgets.secondary, shown.secondaryVisible);
    }

    m_ui->startBlockCheck->setChecked(view.startBlockChecked);
    m_ui->detailGroup->setTitle(QString::fromStdString(view.detailCaption));
    showOrHide(m_ui->detailGroup, view.detailVisible);
    m_ui->dimmerSlider->setValue(view.dimmerSliderPosition);
    showOrHide(m_ui->dimmerSlider, view.dimmerSliderVisible);
    m_ui->levelSlider->setValue(view.levelSliderPosition);
    showOrHide(m_ui->levelSlider, view.levelSliderVisible);
    m_ui->stopDimmerCheck->setChecked(view.stopDimmerChecked);
    showOrHide(m_ui->stopDimmerCheck, view.stopDimmerVisible);
    showOrHide(m_ui->timeFromDimmerButton, view.timeFromDimmerVisible);
    emit viewApplied();
}

bool CEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
        handleMousePress(watched, static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::FocusIn:
        focusChanged(watched);
        return false;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

bool CEditorDlg::handleKey(QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
        if (event->key() == Qt::Key_Z && !shift) {
            stepThroughHistory(false);
            return true;
        }
        if (event->key() == Qt::Key_Y || (event->key() == Qt::Key_Z && shift)) {
            stepThroughHistory(true);
            return true;
        }
    }
    const auto arrow = [this](ArrowKey key) {
        m_presenter.arrowPressed(key);
        afterAction();
        return true;
    };
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            return false;
        }
        m_presenter.tabPressed(focusedControl(), event->key() == Qt::Key_Backtab ||
                                                     (event->modifiers() & Qt::ShiftModifier));
        afterAction();
        return true;
    case Qt::Key_Left:
        return arrow(ArrowKey::Left);
    case Qt::Key_Right:
        return arrow(ArrowKey::Right);
    case Qt::Key_Up:
        return arrow(ArrowKey::Up);
    case Qt::Key_Down:
        return arrow(ArrowKey::Down);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter clicks a focused push button; anywhere else it confirms, that is closes.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return true;
    case Qt::Key_F1:
        showAbout();
        return true;
    case Qt::Key_F2:
        showOverview();
        return true;
    default:
        return false;
    }
}

void CEditorDlg::handleMousePress(QObject* watched, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A press that a child ignored travels on to its parents; act once, where it landed.
    const QPoint point = mapFromGlobal(event->globalPosition().toPoint());
    QWidget* target = childAt(point);
    if (watched != (target != nullptr ? static_cast<QObject*>(target) : this)) {
        return;
    }
    std::array<MarkerRect, kChannelCount> markers{};
    for (std::size_t channel = 0; channel < m_channels.size(); ++channel) {
        const QRect rect = m_channels[channel].marker->geometry();
        markers[channel] = MarkerRect{rect.x(), rect.y(), rect.width(), rect.height()};
    }
    if (const auto channel = EditorPresenter::channelAtPoint(markers, {point.x(), point.y()})) {
        m_presenter.channelLabelClicked(*channel);
        afterAction();
    }
}

FocusedControl CEditorDlg::focusedControl() const {
    const QWidget* focused = focusWidget();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const ChannelWidgets& widgets = m_channels[static_cast<std::size_t>(channel)];
        if (focused == widgets.primary) {
            return {FocusedControl::Kind::PrimaryButton, channel};
        }
        if (focused == widgets.secondary) {
            return {FocusedControl::Kind::SecondaryButton, channel};
        }
    }
    return {};
}

void CEditorDlg::focusChanged(QObject* watched) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (watched == m_channels[static_cast<std::size_t>(channel)].primary) {
            m_presenter.setFocus(channel);
            return;
        }
    }
    if (watched != this) {
        m_presenter.setFocus(std::nullopt);
    }
}

void CEditorDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(kAboutMenuText), this, &CEditorDlg::showAbout);
    menu.addAction(QString::fromUtf8(kOverviewTitle), this, &CEditorDlg::showOverview);
    menu.addSeparator();
    // The next entry is named in the menu's own text: a tool tip shows only after a pause.
    const auto addHistoryEntry = [&](const char* command, const std::string& entry, bool forward) {
        QAction* action =
            menu.addAction(QString::fromStdString(GridEditor::historyToolTip(command, entry)), this,
                           [this, forward] { stepThroughHistory(forward); });
        action->setEnabled(!entry.empty());
    };
    addHistoryEntry(kUndoText, m_presenter.model().nextUndoName(), false);
    addHistoryEntry(kRedoText, m_presenter.model().nextRedoName(), true);
    menu.exec(event->globalPos());
}

void CEditorDlg::stepThroughHistory(bool forward) {
    if (forward) {
        m_presenter.redoChange();
    } else {
        m_presenter.undoChange();
    }
    afterAction();
}

void CEditorDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CEditorDlg::showOverview() {
    if (m_overview == nullptr) {
        m_overview = new COverviewWnd(m_presenter, this);
        connect(this, &CEditorDlg::viewApplied, m_overview, &COverviewWnd::editorRefreshed);
        connect(m_overview, &COverviewWnd::editorChanged, this, &CEditorDlg::afterAction);
    }
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}

void CEditorDlg::shiftTimes(bool longer) {
    const auto refusal = m_presenter.shiftTimesClicked(longer);
    afterAction();
    if (refusal) {
        m_prompts->showMessage(this, QString::fromStdString(EditorCaptions::shiftRefusal(*refusal)),
                               QString::fromUtf8(kTimeShiftRefusedCaption));
    }
}

std::optional<CopyRange> CEditorDlg::chooseCopyRange() {
    CCopyStepsDlg dialog(this);
    dialog.setRange(CopyRange{});
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.range();
}

void CEditorDlg::copySteps() {
    if (const auto range = chooseCopyRange()) {
        m_presenter.copyConfirmed(*range);
        afterAction();
    }
}

void CEditorDlg::setStepTimes() {
    CStepTimesDlg dialog(this);
    dialog.setRange(StepTimesRange{});
    if (dialog.exec() == QDialog::Accepted) {
        m_presenter.stepTimesConfirmed(dialog.range());
        afterAction();
    }
}

void CEditorDlg::insertFromFile() {
    // A cancelled chooser goes on with the file read last time.
    if (!m_files.read(m_files.chooseFileToOpen(), m_presenter.model().importForRead())) {
        return;
    }
    m_presenter.importReady();
    afterAction();

    if (const auto range = chooseCopyRange()) {
        m_presenter.importCopyConfirmed(*range);
        afterAction();
    }
}

bool CEditorDlg::saveProgram() {
    if (!m_files.save(m_presenter.model().working())) {
        return false;
    }
    m_presenter.markUnmodified();
    return true;
}

void CEditorDlg::readProgram() {
    loadProgram(m_files.chooseFileToOpen());
}

void CEditorDlg::loadProgram(const QString& fileName) {
    if (!m_files.read(fileName, m_presenter.model().workingForRead())) {
        return;
    }
    m_presenter.programRead();
    if (!fileName.isEmpty()) {
        m_presenter.markUnmodified();
    }
    afterAction();
}

void CEditorDlg::openExchange() {
    CExchangeDlg exchange(m_presenter.model().working(), this);
    exchange.exec();
}

void CEditorDlg::done(int result) {
    if (m_presenter.isModified()) {
        switch (m_prompts->askSaveChanges(this)) {
        case EditorPrompts::SaveChoice::Save:
            if (!saveProgram()) {
                return;
            }
            break;
        case EditorPrompts::SaveChoice::Discard:
            break;
        case EditorPrompts::SaveChoice::Cancel:
            return;
        }
    }
    QDialog::done(result);
    if (m_overview != nullptr) {
        m_overview->close();
    }
}

} // namespace tevra
