#include "railview/term_picture.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>

namespace varnak {

TermPicture::TermPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("TermPic");
}

bool TermPicture::loadPicture(const QString& file, const QString& placeholderText) {
    QImageReader reader(file);
    QImage image = reader.read();
    if (image.isNull()) {
        showPlaceholder(placeholderText);
        return false;
    }
    image_ = std::move(image);
    scaled_ = QPixmap();
    placeholder_ = false;
    text_.clear();
    update();
    return true;
}

void TermPicture::showPlaceholder(const QString& text) {
    image_ = QImage();
    scaled_ = QPixmap();
    placeholder_ = true;
    text_ = text;
    update();
}

void TermPicture::clear() {
    image_ = QImage();
    scaled_ = QPixmap();
    placeholder_ = false;
    text_.clear();
    update();
}

void TermPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    if (!image_.isNull()) {
        const QSize fit = image_.size().scaled(area.size(), Qt::KeepAspectRatio);
        if (scaled_.size() != fit && !fit.isEmpty())
            scaled_ = QPixmap::fromImage(
                image_.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.drawPixmap((area.width() - scaled_.width()) / 2, 0, scaled_);
    } else if (placeholder_) {
        const QRect frame = area.adjusted(1, 1, -2, -2);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(frame);
        painter.drawText(frame.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWrapAnywhere,
                         text_);
    }
}

void TermPicture::mousePressEvent(QMouseEvent*) {
    QApplication::beep();
}

}  // namespace varnak
