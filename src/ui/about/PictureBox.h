#pragma once
#include <QImage>
#include <QWidget>

// A picture box: shows its picture unscaled from the top-left corner. Code that draws
// into picture() calls update() afterwards so the change reaches the screen.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QImage &picture() { return m_picture; }
    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
