#pragma once

#include <QLabel>

// A label that reads as a link: highlight colour, hand pointer, reports clicks.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
