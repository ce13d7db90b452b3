#pragma once

#include "ui/dialogs/PatternForm.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;

namespace tevra {

// A cell value as the editor shows modes: the mode by name, then a level or a dimmer speed
// with its time in mS where the mode has one.
class CellValuePicker : public QWidget {
    Q_OBJECT

public:
    // withKeep offers "Не менять" first, for the unlit cells.
    CellValuePicker(const ValueChoice& start, bool withKeep, QWidget* parent = nullptr);

    ValueChoice choice() const;

signals:
    void changed();

private:
    void showKind();

    bool m_withKeep;
    QComboBox* m_kind = nullptr;
    QSpinBox* m_level = nullptr;
    QSlider* m_speed = nullptr;
    QLabel* m_speedText = nullptr;
};

} // namespace tevra
