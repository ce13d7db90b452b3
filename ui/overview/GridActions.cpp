#include "ui/overview/GridActions.h"

#include "model/ClipboardText.h"
#include "ui/dialogs/CPatternDlg.h"
#include "ui/dialogs/CTempoDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMenu>
#include <QMimeData>
#include <QWidget>

namespace tevra {

namespace {

constexpr int kMaxPasteTimes = kMaxSteps;
constexpr int kDefaultPasteTimes = 4;
constexpr int kDefaultLevel = kLevelSliderMax / 2;
constexpr int kDefaultDimmerSpeed = kDimmerSliderMax / 2;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

GridActions::GridActions(GridEditor& editor, QWidget* window)
    : QObject(window), m_editor(editor), m_window(window) {
    buildActions();
    updateUndoActions();
}

QAction* GridActions::add(const QString& label, const QList<QKeySequence>& keys,
                          std::function<GridOutcome()> run) {
    auto* action = new QAction(label, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] { emit done(run()); });
    m_window->addAction(action);
    return action;
}

void GridActions::buildActions() {
    m_undo = add(text(kUndoText), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                 [this] { return m_editor.undo(); });
    m_redo =
        add(text(kRedoText),
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
            [this] { return m_editor.redo(); });

    m_clipboardActions = {
        add(QStringLiteral("Копировать"), {QKeySequence::Copy},
            [this] { return copyToClipboard(); }),
        add(QStringLiteral("Вырезать"), {QKeySequence::Cut},
            [this] {
                copyToClipboard();
                return m_editor.cut();
            }),
        add(QStringLiteral("Вставить"), {QKeySequence::Paste},
            [this] { return pasteFromClipboard(false, 1); }),
        add(QStringLiteral("Вставить как шаги"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
            [this] { return pasteFromClipboard(true, 1); }),
        add(QStringLiteral("Вставить N раз…"), {},
            [this] {
                const auto times = askNumber(QStringLiteral("Сколько раз вставить:"),
                                             kDefaultPasteTimes, 1, kMaxPasteTimes);
                return times ? pasteFromClipboard(false, *times) : GridOutcome{};
            }),
    };

    const auto dimmer = [this](ChannelMode mode) {
        return [this, mode] {
            const auto speed = askNumber(QStringLiteral("Скорость диммера:"), kDefaultDimmerSpeed,
                                         kDimmerSliderMin, kDimmerSliderMax);
            return speed ? m_editor.fill(dimmerCell(mode, *speed)) : GridOutcome{};
        };
    };
    m_fillActions = {
        add(QStringLiteral("Выключен"), {QKeySequence::Delete},
            [this] { return m_editor.clear(); }),
        add(QStringLiteral("Включен"), {},
            [this] { return m_editor.fill(static_cast<std::uint8_t>(ChannelMode::On)); }),
        add(QStringLiteral("Яркость…"), {},
            [this] {
                const auto level = askNumber(QStringLiteral("Яркость:"), kDefaultLevel,
                                             kLevelSliderMin, kLevelSliderMax);
                return level ? m_editor.fill(GridEditor::levelCell(*level)) : GridOutcome{};
            }),
        add(QStringLiteral("Диммер: тёмный…"), {}, dimmer(ChannelMode::DimmerDark)),
        add(QStringLiteral("Диммер: светлый…"), {}, dimmer(ChannelMode::DimmerLit)),
        add(QStringLiteral("Диммер: волна…"), {}, dimmer(ChannelMode::DimmerRamp)),
    };

    const auto shift = [this](ShiftDirection direction) {
        return [this, direction] { return m_editor.shift(direction); };
    };
    m_shiftActions = {
        add(QStringLiteral("Вверх"), {QKeySequence(Qt::ALT | Qt::Key_Up)},
            shift(ShiftDirection::Up)),
        add(QStringLiteral("Вниз"), {QKeySequence(Qt::ALT | Qt::Key_Down)},
            shift(ShiftDirection::Down)),
        add(QStringLiteral("Влево"), {QKeySequence(Qt::ALT | Qt::Key_Left)},
            shift(ShiftDirection::Left)),
        add(QStringLiteral("Вправо"), {QKeySequence(Qt::ALT | Qt::Key_Right)},
            shift(ShiftDirection::Right)),
    };

    m_stepActions = {
        add(QStringLiteral("Дублировать"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
            [this] { return m_editor.duplicateSteps(); }),
        add(QStringLiteral("Удалить"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
            [this] { return m_editor.deleteSteps(); }),
        add(QStringLiteral("Обратный порядок"), {}, [this] { return m_editor.reverseSteps(); }),
        add(QStringLiteral("Время шагов…"), {},
            [this] {
                // Asked in mS, as the header shows times; kept in units of 10 ms.
                const auto millis = askNumber(
                    QStringLiteral("Время шага, mS:"), kDefaultStepTime * kStepTimeUnit.count(),
                    kMinStepTime * kStepTimeUnit.count(), kMaxStepTime * kStepTimeUnit.count(),
                    kStepTimeUnit.count());
                return millis ? m_editor.setStepTimes(
                                    static_cast<int>(*millis / kStepTimeUnit.count()))
                              : GridOutcome{};
            }),
    };
    m_patternActions = {
        add(QStringLiteral("Узор…"), {QKeySequence(Qt::CTRL | Qt::Key_G)},
            [this] { return runPatternDialog(); }),
        add(QStringLiteral("Время по темпу…"), {}, [this] { return runTempoDialog(); }),
    };
    m_selectAll = add(QStringLiteral("Выделить всё"), {QKeySequence::SelectAll},
                      [this] { return m_editor.selectAll(); });
}

void GridActions::fillMenu(QMenu& menu) const {
    menu.setToolTipsVisible(true);
    menu.addAction(m_undo);
    menu.addAction(m_redo);
    menu.addSeparator();
    menu.addActions(m_clipboardActions);
    menu.addSeparator();
    menu.addMenu(QStringLiteral("Заполнить"))->addActions(m_fillActions);
    menu.addMenu(QStringLiteral("Сдвинуть"))->addActions(m_shiftActions);
    menu.addMenu(QStringLiteral("Шаги"))->addActions(m_stepActions);
    menu.addActions(m_patternActions);
    menu.addSeparator();
    menu.addAction(m_selectAll);
}

void GridActions::updateUndoActions() {
    m_undo->setEnabled(m_editor.canUndo());
    m_undo->setToolTip(QString::fromStdString(m_editor.undoToolTip()));
    m_redo->setEnabled(m_editor.canRedo());
    m_redo->setToolTip(QString::fromStdString(m_editor.redoToolTip()));
}

GridOutcome GridActions::copyToClipboard() {
    const CellBlock block = m_editor.copy();
    if (block.empty()) {
        return {false, kNoStepsText};
    }
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(blockToText(block)));
    data->setData(QString::fromLatin1(kCellBlockMimeType),
                  QByteArray::fromStdString(blockToNativeText(block)));
    QApplication::clipboard()->setMimeData(data);
    return {};
}

GridOutcome GridActions::runPatternDialog() {
    CPatternDlg dialog(m_editor.program(), m_editor.target(), m_window);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return m_editor.generate(dialog.generation(), dialog.editName());
}

GridOutcome GridActions::runTempoDialog() {
    CTempoDlg dialog(m_editor.target(), m_window);
    const std::optional<StepTempo> tempo =
        dialog.exec() == QDialog::Accepted ? dialog.tempo() : std::nullopt;
    return tempo ? m_editor.setTimesFromTempo(*tempo, dialog.editName()) : GridOutcome{};
}

GridOutcome GridActions::pasteFromClipboard(bool asSteps, int times) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return {};
    }
    const QByteArray native = data->data(QString::fromLatin1(kCellBlockMimeType));
    return m_editor.pasteText(native.toStdString(), data->text().toStdString(), asSteps, times);
}

std::optional<int> GridActions::askNumber(const QString& label, int value, int minimum, int maximum,
                                          int step) {
    bool ok = false;
    const int number = QInputDialog::getInt(m_window, m_window->windowTitle(), label, value,
                                            minimum, maximum, step, &ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace tevra
