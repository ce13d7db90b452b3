#pragma once

#include "ui/dialogs/PatternForm.h"
#include "ui/widgets/FacePainter.h"

#include <QWidget>

namespace tevra {

// The selection as the generation will leave it: one column per step, one row per channel,
// drawn with the overview's faces and shrunk to fit however long the selection is.
class PatternPreview : public QWidget {
    Q_OBJECT

public:
    explicit PatternPreview(const PatternForm& form, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PatternForm& m_form;
    FacePainter m_faces;
};

} // namespace tevra
