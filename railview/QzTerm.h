#pragma once
// One cell of the rail picture: the picture of a coupler or terminal with its rail
// position above it and its type and the coupler's online information below it. The rail
// window places the cell and sets its picture's height; the cell stacks its children when
// its size changes.
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "railview/term_picture.h"

class QLabel;

namespace varnak {

class clsCoupler;
class clsTerminal;
class CouplerInfoQueries;

// Twips of one pixel of the widget's screen.
double railTwipsPerPixel(const QWidget& widget);

class QzTerm : public QWidget {
    Q_OBJECT
  public:
    explicit QzTerm(QWidget* parent = nullptr);

    // The cell's own properties: kept and given back, they change nothing on the screen.
    uint32_t BackColor = 0;
    uint32_t ForeColor = 0;
    bool Enabled = false;
    QFont Font;  // the container's font when the cell was made
    int16_t BackStyle = 0;
    int16_t BorderStyle = 0;
    std::string ToolTipText;
    void Refresh() {}

    QLabel* QzCtlPosNrViewLayer() const { return PosNrViewLayer; }
    QLabel* QzCtlPosNrHardwareLayer() const { return PosNrHardwareLayer; }
    QLabel* QzCtlType() const { return QzType; }
    QLabel* QzCtlInfo() const { return QZInfo; }
    TermPicture* QzCtlTermPic() const { return TermPic; }

    // Shows a terminal: its picture, its type on two lines and its rail position; no
    // terminal empties the cell.
    void setQzObjTermItem(const std::shared_ptr<clsTerminal>& objTermItem);
    // Shows the coupler: its picture, its whole type and position 0; in the maker's
    // edition while online the info text from the coupler services (queries), else an
    // empty info text.
    void setQzObjCouplerItem(const std::shared_ptr<clsCoupler>& objCoupler,
                             CouplerInfoQueries& queries);

    std::shared_ptr<clsTerminal> shownTerminal() const { return terminal_.lock(); }

    // Stacks the children for the cell's size (done on every size change). The picture
    // keeps the height the container gave it.
    void fLayout();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showPicture(const std::string& pictureName, bool coupler, const std::string& typeName);

    QLabel* PosNrViewLayer;
    QLabel* PosNrHardwareLayer;
    TermPicture* TermPic;
    QLabel* QzType;
    QLabel* QZInfo;
    std::weak_ptr<clsTerminal> terminal_;
};

}  // namespace varnak
