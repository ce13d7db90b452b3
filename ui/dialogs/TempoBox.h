#pragma once

#include "ui/dialogs/TempoForm.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace tevra {

// The tempo controls both tempo dialogs share: BPM, steps per beat and "Тап", bound to a
// TempoForm that holds every rule.
class TempoBox : public QWidget {
    Q_OBJECT

public:
    TempoBox(TempoForm& form, QWidget* parent = nullptr);

    // "Тап", and the T key anywhere in window once its controls are built: no control of a
    // tempo dialog takes a T otherwise, the BPM edit included.
    void tap();
    void takeTapKey(QWidget& window);

signals:
    void changed();
    void tapped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showForm();

    TempoForm& m_form;
    QLineEdit* m_bpm = nullptr;
    QSpinBox* m_perBeat = nullptr;
    QLabel* m_taps = nullptr;
    QElapsedTimer m_clock;
};

} // namespace tevra
