#pragma once
// The picture area of a rail cell: a device picture scaled into the area, or a framed
// placeholder holding the type text when no picture could be read. A click beeps.
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace varnak {

class TermPicture : public QWidget {
    Q_OBJECT
  public:
    explicit TermPicture(QWidget* parent = nullptr);

    // Shows the picture of that file; false, and the placeholder with the text, when the
    // file cannot be read as a picture.
    bool loadPicture(const QString& file, const QString& placeholderText);
    void showPlaceholder(const QString& text);
    void clear();

    bool hasPicture() const { return !image_.isNull(); }
    bool showsPlaceholder() const { return placeholder_; }
    const QString& placeholderText() const { return text_; }
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage image_;
    QPixmap scaled_;  // the image at the area's size, made again when the area changes
    bool placeholder_ = false;
    QString text_;
};

}  // namespace varnak
