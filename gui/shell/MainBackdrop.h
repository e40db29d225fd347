#pragma once

#include <QWidget>

namespace gui {

// The main window's empty area: the title and where to begin, painted.
class MainBackdrop final : public QWidget {
public:
    explicit MainBackdrop(QString title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
};

} // namespace gui
