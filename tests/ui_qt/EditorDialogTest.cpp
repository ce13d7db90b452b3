#include "model/ChannelCell.h"
#include "ui/dialogs/CAboutDlg.h"
#include "ui/editor/CEditorDlg.h"
#include "ui/editor/EditorPrompts.h"
#include "ui/widgets/TriStateBitmapButton.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

using namespace tevra;

namespace {

// Answers the editor's file choosers and close questions, and records its message boxes.
class FakePrompts : public EditorPrompts {
public:
    static QString next(QStringList& names) { return names.isEmpty() ? "" : names.takeFirst(); }
    QString openFileName(QWidget*) override { return next(openNames); }
    QString saveFileName(QWidget*) override { return next(saveNames); }
    // Without the system's reason for a file error, a third line that follows the locale.
    void showMessage(QWidget*, const QString& text, const QString& caption) override {
        messages << text.section('\n', 0, 1) + " / " + caption;
    }
    SaveChoice askSaveChanges(QWidget*) override {
        ++saveQuestions;
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }

    QStringList openNames;
    QStringList saveNames;
    QStringList messages;
    QList<SaveChoice> saveChoices;
    int saveQuestions = 0;
};

// Runs check on the next modal window that opens, then closes it.
void onNextModal(std::function<void(QDialog*)> check, bool accept = true) {
    QTimer::singleShot(0, [check = std::move(check), accept] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        check(dialog);
        accept ? dialog->accept() : dialog->reject();
    });
}

// The bitmaps tell apart by their widths.
ButtonImage imageOf(const TriStateBitmapButton* button) {
    const int width = button->image().width();
    return width == 140   ? ButtonImage::Dark
           : width == 161 ? ButtonImage::Lit
           : width == 109 ? ButtonImage::Ramp
                          : ButtonImage::None;
}

// The smallest rectangle holding every pixel of the colour or, unlike, of any other.
QRect pixelsOf(const QImage& image, QRgb colour, bool unlike = false) {
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            found |= (image.pixel(x, y) == colour) != unlike ? QRect(x, y, 1, 1) : QRect();
        }
    }
    return found;
}

} // namespace

class EditorDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        auto prompts = std::make_unique<FakePrompts>();
        m_prompts = prompts.get();
        m_editor = std::make_unique<CEditorDlg>(std::move(prompts));
        m_editor->show();
        m_editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
        m_dialogs.clear();
    }

    void freshWindowShowsTheTemplate() {
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Tevra 1.1"));
        // Icon 128 comes large and small.
        QCOMPARE(m_editor->windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
        QCOMPARE(summary(), QStringLiteral("1/20 t100 ch1 [] primary1"));
        QVERIFY(shownView() == EditorPresenter().view());
        // Ticks only at both ends of the range.
        QCOMPARE(child<QSlider>("stepSelector")->tickInterval(), 19);

        const QString texts = QString::fromUtf8(
            "programGroup=Управление шагами программы;countGroup=Кол.;numberGroup=Номер;"
            "detailGroup=Скорость диммера выбранного канала;"
            "startBlockGroup=Старт блок;countPlus1Button=+1;countPlus10Button=+10;"
            "countMinus1Button=-1;countMinus10Button=-10;saveButton=Сохранить;"
            "programButton=Программировать;readButton=Прочитать;"
            "insertStepButton=Добавить шаг, сдвинуть ->;deleteStepButton=<- Сдвинуть, удалить шаг;"
            "copyButton=Копировать;undoButton=Отменить действие;timesPlusButton=+50mS;"
            "timesMinusButton=-50mS;stopDimmerCheck=Стоп диммер;stepTimesButton=Время шагов;"
            "timeFromDimmerButton=Время шага как диммер;insertFromFileButton=Вставить из файла");
        for (const QString& pair : texts.split(';')) {
            const QString name = pair.section('=', 0, 0);
            auto* box = m_editor->findChild<QGroupBox*>(name);
            QCOMPARE(box != nullptr ? box->title() : child<QAbstractButton>(name)->text(),
                     pair.section('=', 1));
        }
        // The channel buttons show only bitmaps; a screen reader tells them and the sliders apart.
        QStringList names;
        for (const char* name : {"primary1", "secondary16", "stepSelector", "stepTimeSlider",
                                 "dimmerSlider", "levelSlider"}) {
            names << child(name)->accessibleName();
        }
        QCOMPARE(names.join('|'), QStringLiteral("Канал 1|Канал 16, диммер|Номер шага|Время шага|"
                                                 "Скорость диммера|Яркость"));
    }

    void inputsReachTheWindow_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* script, const char* shown) {
            QTest::newRow(script) << QString::fromUtf8(script) << QString::fromUtf8(shown);
        };
        row("c:countPlus1Button", "1/21 t100 ch1 [] countPlus1Button *");
        row("c:countPlus10Button", "1/30 t100 ch1 [] countPlus10Button *");
        row("c:countMinus1Button", "1/19 t100 ch1 [] countMinus1Button *");
        row("c:countMinus10Button", "1/10 t100 ch1 [] countMinus10Button *");
        row("v:stepSelector=15 c:countMinus10Button", "10/10 t100 ch1 [] countMinus10Button *");
        row("c:startBlockCheck", "1/20 t100 ch1 [] startBlockCheck S *");
        row("p5", "1/20 t100 ch5 [5:01] primary5 *");
        row("p5 p5", "1/20 t100 ch5 [5:0a] primary5 *");
        row("p5 p5 p5", "1/20 t100 ch5 [5:08] primary5 *");
        row("p5 p5 c:undoButton", "1/20 t100 ch5 [5:01] undoButton *");
        row("p5 p5 s5", "1/20 t100 ch5 [5:0e] secondary5 *");
        row("p5 p5 s5 s5", "1/20 t100 ch5 [5:0f] secondary5 *");
        row("p5 p5 s5 s5 s5", "1/20 t100 ch5 [5:0a] secondary5 *");
        row("p5 p5 s5 c:undoButton", "1/20 t100 ch5 [5:0a] undoButton *");
        row("p5 p5 s5 p5", "1/20 t100 ch5 [5:08] primary5 *");
        row("p5 p5 c:stopDimmerCheck p5", "1/20 t100 ch5 [5:78] primary5 *");
        row("p5 p5 c:stopDimmerCheck c:stopDimmerCheck", "1/20 t100 ch5 [5:0e] stopDimmerCheck *");
        row("p5 p5 c:stopDimmerCheck", "1/20 t100 ch5 [5:7b] stopDimmerCheck *");
        row("p5 p5 v:dimmerSlider=12", "1/20 t100 ch5 [5:f2] primary5 *");
        row("p5 p5 c:stopDimmerCheck v:levelSlider=20", "1/20 t100 ch5 [5:9b] stopDimmerCheck *");
        row("p5 p5 v:dimmerSlider=12 c:timeFromDimmerButton",
            "1/20 t512 ch5 [5:f2] timeFromDimmerButton *");
        row("v:stepTimeSlider=250", "1/20 t250 ch1 [] primary1 *");
        row("v:stepSelector=7", "7/20 t100 ch1 [] primary1");
        row("p1 c:insertStepButton", "2/21 t100 ch1 [1:01] insertStepButton *");
        row("k:Right p1 c:deleteStepButton", "2/19 t100 ch1 [] deleteStepButton *");
        row("c:timesPlusButton", "1/20 t105 ch1 [] timesPlusButton *");
        row("v:stepTimeSlider=5 k:Right c:timesMinusButton",
            "1/20 t5 ch1 [] timesMinusButton * | Время шага номер: 1\nне может быть меньше 0,05 "
            "секунды! / Время не может быть изменено");
        row("k:Right v:stepTimeSlider=2560 k:Left c:timesPlusButton",
            "2/20 t2560 ch1 [] timesPlusButton * | Время шага номер: 2\nне может быть больше 25,6 "
            "секунды! / Время не может быть изменено");
        row("a:timeSlider=250 c:stepTimesButton k:Right",
            "2/20 t250 ch1 [] stepTimesButton * <Время шагов>");
        row("r:timeSlider=250 c:stepTimesButton k:Right",
            "2/20 t100 ch1 [] stepTimesButton <Время шагов>");
        row("p1 a c:copyButton k:Right k:Right",
            "3/20 t100 ch1 [1:01] copyButton * <Копирование шагов>");
        row("p1 r c:copyButton k:Right k:Right",
            "3/20 t100 ch1 [] copyButton * <Копирование шагов>");
        // The arrows never reach the focused control.
        row("k:Right k:Right k:Left", "2/20 t100 ch1 [] primary1");
        row("k:Up", "1/20 t101 ch1 [] primary1 *");
        row("f:stepSelector k:Right", "2/20 t100 ch1 [] stepSelector");
        row("f:stepTimeSlider k:Down", "1/20 t99 ch1 [] stepTimeSlider *");
        row("f:stepTimeSlider k:PgUp", "1/20 t101 ch1 [] stepTimeSlider *");
        row("p3 k:Right", "2/20 t100 ch3 [] primary3 *");
        row("p3 f:primary1 k:Right", "2/20 t100 ch1 [] primary1 *");
        // Only the primary buttons are tab stops, in template order; Space clicks one.
        row("k:Tab", "1/20 t100 ch2 [] primary2");
        row("k:Shift+Tab k:Tab", "1/20 t100 ch1 [] primary1");
        row("k:Shift+Tab k:Space", "1/20 t100 ch16 [16:01] primary16 *");
        row("p5 p5 f:countPlus1Button k:Tab", "1/20 t100 ch1 [5:0a] primary1 *");
        row("p5 p5 f:stepTimeSlider k:Shift+Tab", "1/20 t100 ch16 [5:0a] primary16 *");
        row("p5 p5 s5 k:Tab", "1/20 t100 ch6 [5:0e] primary6 *");
        row("p5 p5 s5 k:Shift+Tab", "1/20 t100 ch5 [5:0e] primary5 *");
        row("p8 k:Shift+Tab", "1/20 t100 ch7 [8:01] primary7 *");
        row("p6 p6 s6 k:Tab", "1/20 t100 ch6 [6:0e] primary6 *");
        row("p6 p6 s6 k:Shift+Tab", "1/20 t100 ch5 [6:0e] primary5 *");
        // Channel 5 is off on step 2: a hidden control keeps the focus and the selection.
        row("p5 p5 f:dimmerSlider k:Right k:Left", "1/20 t100 ch5 [5:0a] CEditorDlg *");
        row("p5 p5 f:stopDimmerCheck k:Right k:Left", "1/20 t100 ch5 [5:0a] CEditorDlg *");
        row("p5 p5 f:timeFromDimmerButton k:Right k:Left", "1/20 t100 ch5 [5:0a] CEditorDlg *");
        row("p5 p5 s5 k:Right k:Left", "1/20 t100 ch5 [5:0e] CEditorDlg *");
        row("p5 p5 c:stopDimmerCheck f:levelSlider k:Right k:Left",
            "1/20 t100 ch5 [5:7b] CEditorDlg *");
        // A click on a channel's number, or just right of it, selects it and changes nothing.
        row("p3 c:number12", "1/20 t100 ch12 [3:01] primary12 *");
        row("x:12:w+14:h-1", "1/20 t100 ch12 [] primary12");
        row("x:12:w+15:+0", "1/20 t100 ch1 [] primary1");
        row("x:12:w+2:+0", "1/20 t100 ch12 [] primary12");
        row("x:12:+0:h+0", "1/20 t100 ch1 [] primary1");
        row("p3 x:1:+0:+0", "1/20 t100 ch1 [3:01] primary1 *");
        row("p3 c:startBlockCheck w:a.tvr c:saveButton p3 c:countPlus10Button k:Right o:a.tvr "
            "c:readButton",
            "1/20 t100 ch1 [3:01] readButton S");
        row("k:Right p3 c:readButton", "1/20 t100 ch1 [] readButton *");
        // A file that is no program: the test itself.
        row("p2 k:Right o:/proc/self/exe c:readButton",
            "2/20 t100 ch2 [] readButton * | Ошибка файла / Файле не может быть загружен!");
        // A file named on the command line is read as "Прочитать" reads it.
        row("p3 w:a.tvr c:saveButton p3 k:Right l:a.tvr", "1/20 t100 ch1 [3:01] primary3");
        row("p2 k:Right l:/proc/self/exe",
            "2/20 t100 ch2 [] primary2 * | Ошибка файла / Файле не может быть загружен!");
        row("p2 l:none.tvr",
            "1/20 t100 ch2 [2:01] primary2 * | Файл не может быть открыт:\n<dir>/none.tvr / app");
        row("p1 w:a.tvr c:saveButton p1 p1 o:a.tvr a c:insertFromFileButton k:Right k:Right",
            "3/20 t100 ch1 [1:01] insertFromFileButton * <Копирование шагов>");
        row("p1 w:a.tvr c:saveButton p1 p1 o:a.tvr a c:insertFromFileButton c:undoButton k:Right "
            "k:Right",
            "3/20 t100 ch1 [] undoButton * <Копирование шагов>");
        // A cancelled chooser goes on with the file read last time, here the start program.
        row("p1 a:destFromEdit=1 c:insertFromFileButton",
            "1/20 t100 ch1 [] insertFromFileButton <Копирование шагов>");
        row("p1 r c:insertFromFileButton",
            "1/20 t100 ch1 [1:01] insertFromFileButton * <Копирование шагов>");
        row("o:/proc/self/exe c:insertFromFileButton",
            "1/20 t100 ch1 [] insertFromFileButton | Ошибка файла / Файле не может быть загружен!");
        // Closing asks only when the program differs from the last start, save or load.
        row("p9 q:save w:a.tvr k:Escape", "1/20 t100 ch9 [9:01] primary9 ?1 rejected");
        row("p9 q:save k:Escape", "1/20 t100 ch9 [9:01] primary9 * ?1");
        row("p9 q:discard k:Escape", "1/20 t100 ch9 [9:01] primary9 * ?1 rejected");
        row("p9 q:cancel k:Escape", "1/20 t100 ch9 [9:01] primary9 * ?1");
        row("k:Right k:Tab k:Return", "2/20 t100 ch2 [] primary2 accepted");
        // Enter clicks a focused push button and confirms anywhere else.
        row("f:countPlus1Button k:Return", "1/21 t100 ch1 [] countPlus1Button *");
        // A failed save leaves the program unsaved: closing asks, and a second failure keeps
        // the window open.
        row("w:a.tvr c:saveButton p1 w:a.tvr/b.tvr c:saveButton q:save w:a.tvr/b.tvr k:Escape",
            "1/20 t100 ch1 [1:01] saveButton * ?1 | Файл не может быть открыт:\n<dir>/a.tvr/b.tvr "
            "/ app | "
            "Файл не может быть открыт:\n<dir>/a.tvr/b.tvr / app");
        row("a k:F1", "1/20 t100 ch1 [] primary1 <Velmora_N1>");
        row("m:number3", "1/20 t100 ch1 [] primary1 {&About Velmora_N1...} {Обзор программы} "
                         "{} {Отменить} {Повторить} <Velmora_N1>");
        // The overview opens beside the editor, once.
        row("m:number3=2", "1/20 t100 ch1 [] primary1 {&About Velmora_N1...} {Обзор программы} "
                           "{} {Отменить} {Повторить} [Обзор программы]");
        // One history for every change: the place comes back with the program, a slider's
        // drag is one entry, and undoing to the saved program closes without a question.
        row("p3 p5 k:Right p7 k:Ctrl+Z k:Ctrl+Z k:Ctrl+Z k:Ctrl+Y",
            "1/20 t100 ch3 [3:01] primary3 *");
        row("p3 p5 k:Ctrl+Z k:Ctrl+Shift+Z m:number3=4",
            "1/20 t100 ch5 [3:01] primary5 * {&About Velmora_N1...} {Обзор программы} {} "
            "{Отменить} {Повторить}");
        row("v:stepTimeSlider=200 v:stepTimeSlider=300 v:stepTimeSlider=7 k:Ctrl+Z",
            "1/20 t100 ch1 [] primary1");
        row("p9 w:a.tvr c:saveButton p4 k:Ctrl+Z k:Escape",
            "1/20 t100 ch4 [9:01] primary4 rejected");
        row("k:F2 k:F2", "1/20 t100 ch1 [] primary1 [Обзор программы]");
        row("c:countPlus1Button f:primary1 k:Return", "1/21 t100 ch1 [] primary1 * ?1");
    }

    void inputsReachTheWindow() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        play(script);
        QCOMPARE(summary(), shown);
        QVERIFY(shownView() == m_editor->presenter().view());
    }

    // A 4 x 4 red image centred in the frame, one pixel down and right when pushed; the frame
    // is two pixels wide when checked, the third state draws a dotted line inside it, and focus
    // another one pixel further in.
    void buttonsPaintTheirState() {
        TriStateBitmapButton face;
        QPalette palette;
        palette.setColor(QPalette::Button, Qt::white);
        palette.setColor(QPalette::Dark, Qt::blue);
        palette.setColor(QPalette::Shadow, Qt::green);
        palette.setColor(QPalette::Mid, Qt::magenta);
        face.setPalette(palette);
        face.setGeometry(0, 0, 20, 14);
        QPixmap red(4, 4);
        red.fill(Qt::red);
        face.setImage(red);
        face.show();
        QVERIFY(QTest::qWaitForWindowExposed(&face));
        const struct {
            ButtonState state;
            bool down;
            QPoint image;
            int frame;
        } rows[] = {{ButtonState::Clear, true, {9, 6}, 1},
                    {ButtonState::Checked, false, {9, 6}, 2},
                    {ButtonState::Indeterminate, false, {9, 6}, 1},
                    {ButtonState::Clear, false, {8, 5}, 1}};
        for (const auto& r : rows) {
            face.setState(r.state);
            face.setDown(r.down);
            const QImage image = face.grab().toImage();
            const QRgb frame = r.state == ButtonState::Clear ? qRgb(0, 0, 255) : qRgb(0, 255, 0);
            QCOMPARE(pixelsOf(image, qRgb(255, 0, 0)), QRect(r.image, QSize(4, 4)));
            QCOMPARE(pixelsOf(image, frame, true),
                     QRect(r.frame, r.frame, 20 - 2 * r.frame, 14 - 2 * r.frame));
            QCOMPARE(pixelsOf(image, qRgb(255, 0, 255)),
                     r.state == ButtonState::Indeterminate ? QRect(1, 1, 18, 12) : QRect());
            QCOMPARE(face.isChecked(), r.state == ButtonState::Checked);
        }
        // The focus line inverts the white ground.
        face.activateWindow();
        face.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&face));
        QCOMPARE(pixelsOf(face.grab().toImage(), qRgb(0, 0, 0)), QRect(2, 2, 16, 10));
    }

private:
    template <typename T = QWidget> T* child(const QString& name) const {
        return m_editor->findChild<T*>(name);
    }
    TriStateBitmapButton* button(const char* kind, int channel) const {
        return child<TriStateBitmapButton>(QString::fromLatin1(kind) + QString::number(channel));
    }
    bool shows(const QString& name) const { return child(name)->isVisibleTo(m_editor.get()); }

    static ButtonState heardState(TriStateBitmapButton* button) {
        const QAccessible::State state = QAccessible::queryAccessibleInterface(button)->state();
        return state.checkStateMixed ? ButtonState::Indeterminate
               : state.checked       ? ButtonState::Checked
                                     : ButtonState::Clear;
    }

    // What the widgets show, to compare with what the presenter says they must show.
    EditorView shownView() const {
        EditorView v;
        const auto* selector = child<QSlider>("stepSelector");
        v.stepSelectorMin = selector->minimum();
        v.stepSelectorMax = selector->maximum();
        v.stepSelectorPosition = selector->value();
        v.stepText = child<QLineEdit>("stepEdit")->text().toStdString();
        v.countText = child<QLineEdit>("countEdit")->text().toStdString();
        v.stepTimeCaption = child<QGroupBox>("stepTimeGroup")->title().toStdString();
        v.stepTimeSliderPosition = child<QSlider>("stepTimeSlider")->value();
        for (int c = 0; c < kChannelCount; ++c) {
            auto* primary = button("primary", c + 1);
            auto* secondary = button("secondary", c + 1);
            v.channels[static_cast<std::size_t>(c)] = {
                shows("marker" + QString::number(c + 1)),
                imageOf(primary),
                heardState(primary),
                imageOf(secondary),
                heardState(secondary),
                shows("secondary" + QString::number(c + 1)),
                QAccessible::queryAccessibleInterface(primary)
                    ->text(QAccessible::Description)
                    .toStdString()};
        }
        v.startBlockChecked = child<QCheckBox>("startBlockCheck")->isChecked();
        v.detailVisible = shows("detailGroup");
        v.detailCaption = child<QGroupBox>("detailGroup")->title().toStdString();
        v.dimmerSliderVisible = shows("dimmerSlider");
        v.dimmerSliderPosition = child<QSlider>("dimmerSlider")->value();
        v.levelSliderVisible = shows("levelSlider");
        v.levelSliderPosition = child<QSlider>("levelSlider")->value();
        v.stopDimmerVisible = shows("stopDimmerCheck");
        v.stopDimmerChecked = child<QCheckBox>("stopDimmerCheck")->isChecked();
        v.timeFromDimmerVisible = shows("timeFromDimmerButton");
        return v;
    }

    // "step/count, time in units of 10 ms, selected channel, [the current step's lit cells by
    // channel], focused control", then S: start block, *: modified, ?n: close questions asked, how
    // the window closed, the titles of the dialogs shown, [of the windows it keeps open] and the
    // messages.
    QString summary() const {
        const ProgramImage& image = m_editor->workingImage();
        const int step = child<QLineEdit>("stepEdit")->text().toInt();
        QStringList cells;
        for (int c = 0; c < kChannelCount; ++c) {
            if (image.cell(step, c) != 0) {
                cells << QStringLiteral("%1:%2").arg(c + 1).arg(image.cell(step, c), 2, 16,
                                                                QChar('0'));
            }
        }
        QString text = QStringLiteral("%1/%2 t%3 ch%4 [%5] %6")
                           .arg(step)
                           .arg(child<QLineEdit>("countEdit")->text())
                           .arg(image.stepTime(step))
                           .arg(m_editor->presenter().model().selectedChannel() + 1)
                           .arg(cells.join(' '))
                           .arg(m_editor->focusWidget()->objectName());
        text += QString(image.startBlock() ? " S" : "") +
                (m_editor->presenter().isModified() ? " *" : "");
        text +=
            m_prompts->saveQuestions == 0 ? "" : " ?" + QString::number(m_prompts->saveQuestions);
        text += m_editor->isVisible() ? "" : m_editor->result() ? " accepted" : " rejected";
        text += m_dialogs.isEmpty() ? "" : " " + m_dialogs.join(' ');
        for (const QWidget* window :
             m_editor->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            text +=
                window->isWindow() && window->isVisible() ? " [" + window->windowTitle() + "]" : "";
        }
        for (const QString& message : m_prompts->messages) {
            text += " | " + QString(message)
                                .replace(m_dir.path(), "<dir>")
                                .replace(QApplication::applicationName(), "app");
        }
        return text;
    }

    // One input per word: pN / sN click channel N's primary / secondary button, c:name clicks a
    // control, k:key presses a key on the focused control, f:name focuses a control, v:name=n
    // sets a slider, x:N:dx:dy clicks at that offset from the top left of channel N's marker
    // (w and h: its width and height plus the number that follows), m:name opens the context
    // menu over a control and chooses its first entry (m:name=n: its nth); a and r (a:name=n to set
    // an edit or slider first) accept or reject the next dialog, o:file and w:file answer the next
    // open and save chooser (a file in a folder of the test's own, or a whole path), l:file
    // reads a file as the command line does, and q:save|discard|cancel the next close question.
    void play(const QString& script) {
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            const QString arg = word.section(':', 1);
            const QString name = arg.section('=', 0, 0);
            const int value = arg.section('=', 1).toInt();
            if (word[0] == 'p' || word[0] == 's') {
                QTest::mouseClick(
                    button(word[0] == 'p' ? "primary" : "secondary", word.mid(1).toInt()),
                    Qt::LeftButton);
            } else if (word.startsWith("c:")) {
                QTest::mouseClick(child(arg), Qt::LeftButton);
            } else if (word.startsWith("k:")) {
                const QKeyCombination key = QKeySequence(arg)[0];
                QTest::keyClick(m_editor->focusWidget(), key.key(), key.keyboardModifiers());
            } else if (word.startsWith("f:")) {
                child(arg)->setFocus(Qt::MouseFocusReason);
            } else if (word.startsWith("v:")) {
                child<QSlider>(name)->setValue(value);
            } else if (word.startsWith("x:")) {
                const QRect marker = child("marker" + word.section(':', 1, 1))->geometry();
                const auto offset = [](const QString& text, int size) {
                    return (text[0] == 'w' || text[0] == 'h' ? size : 0) + text.mid(1).toInt();
                };
                const QPoint at =
                    marker.topLeft() + QPoint(offset(word.section(':', 2, 2), marker.width()),
                                              offset(word.section(':', 3, 3), marker.height()));
                QWidget* target = m_editor->childAt(at) ? m_editor->childAt(at) : m_editor.get();
                QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_editor.get(), at));
            } else if (word.startsWith("m:")) {
                QTimer::singleShot(0, [this, value] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    for (const QAction* action : menu->actions()) {
                        m_dialogs << "{" + action->text() + "}";
                    }
                    if (value < 2) {
                        play("a"); // the About box is modal
                    }
                    menu->actions()[std::max(value, 1) - 1]->trigger();
                    menu->close();
                });
                QContextMenuEvent event(QContextMenuEvent::Mouse, {2, 2},
                                        child(name)->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(child(name), &event);
            } else if (word[0] == 'a' || word[0] == 'r') {
                onNextModal(
                    [this, name, value](QDialog* dialog) {
                        m_dialogs << "<" + dialog->windowTitle() + ">";
                        if (auto* slider = dialog->findChild<QSlider*>(name)) {
                            slider->setValue(value);
                        } else if (auto* edit = dialog->findChild<QLineEdit*>(name)) {
                            edit->setText(QString::number(value));
                        }
                    },
                    word[0] == 'a');
            } else if (word.startsWith("l:")) {
                m_editor->loadProgram(QDir(m_dir.path()).filePath(arg));
            } else if (word.startsWith("o:") || word.startsWith("w:")) {
                (word[0] == 'o' ? m_prompts->openNames : m_prompts->saveNames)
                    << QDir(m_dir.path()).filePath(arg);
            } else if (word.startsWith("q:")) {
                m_prompts->saveChoices << (arg == "save"      ? EditorPrompts::SaveChoice::Save
                                           : arg == "discard" ? EditorPrompts::SaveChoice::Discard
                                                              : EditorPrompts::SaveChoice::Cancel);
            }
        }
    }

    QTemporaryDir m_dir;
    QStringList m_dialogs;
    FakePrompts* m_prompts = nullptr;
    std::unique_ptr<CEditorDlg> m_editor;
};

QTEST_MAIN(EditorDialogTest)
#include "EditorDialogTest.moc"
