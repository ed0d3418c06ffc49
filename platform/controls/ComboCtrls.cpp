#include "ComboCtrls.h"

#include "OwnerDrawItems.h"

#include "QtBridge.h"

#include "graphics/Bitmap.h"
#include "graphics/QtBridge.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

#include <algorithm>

using namespace ctlqt;

void PaintOwnerDrawnRow(QPainter* Painter, const QStyleOptionViewItem& Option,
                        const std::function<void(QImage& Image, const TRect& Rect, TOwnerDrawState State)>& Draw)
{
    const QRect r = Option.rect;
    // At the density of the device painted on, so that the row is not enlarged.
    const double ratio = Painter->device() != nullptr ? Painter->device()->devicePixelRatio() : 1.0;
    QImage image = qtbridge::NewImage(std::max(r.width(), 1), std::max(r.height(), 1), std::max(1.0, ratio));
    TOwnerDrawState state;
    if (Option.state & QStyle::State_Selected)
        state |= odSelected;
    if (Option.state & QStyle::State_HasFocus)
        state |= odFocused;
    if (!(Option.state & QStyle::State_Enabled))
        state |= odDisabled;
    Draw(image, TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1), state);
    Painter->drawImage(r.topLeft(), image);
}

void DrawOwnerDrawnItem(QImage& Image, const TRect& Rect, TOwnerDrawState State, TColor Colour,
                        const std::function<void(TCanvas& Canvas)>& Draw)
{
    TCanvas canvas;
    qtbridge::AttachImage(canvas, &Image, false);
    canvas.SetWindowOrg(Rect.Left, Rect.Top);
    const bool selected = State.Test(odSelected);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(selected ? clHighlight : Colour);
    canvas.Font()->SetColor(selected ? clHighlightText : clWindowText);
    canvas.SetBkColor(canvas.Brush()->Color());
    Draw(canvas);
    qtbridge::Detach(canvas);
}

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXVSCROLL: return 16;
    case SM_CXSIZE: return 18;
    default: return 0;
    }
}

// Draws owner-drawn items through the control, each into an image of the item's size
// whose canvas has the item rectangle's coordinates.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(TOwnerDrawComboBox* AControl, QObject* AParent) : QStyledItemDelegate(AParent), FControl(AControl) {}

    static void DrawInto(TOwnerDrawComboBox* Control, QImage& Image, int Index, const TRect& Rect,
                         TOwnerDrawState State)
    {
        DrawOwnerDrawnItem(Image, Rect, State, Control->Color(), [&](TCanvas& Canvas) {
            TCanvas* previous = Control->FDrawCanvas;
            Control->FDrawCanvas = &Canvas;
            GuardedCall([&] { Control->DrawItem(Index, Rect, State); });
            Control->FDrawCanvas = previous;
        });
    }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        if (!FControl->OwnerDraw()) {
            QStyledItemDelegate::paint(Painter, Option, Index);
            return;
        }
        PaintOwnerDrawnRow(Painter, Option, [&](QImage& Image, const TRect& Rect, TOwnerDrawState State) {
            DrawInto(FControl, Image, Index.row(), Rect, State);
        });
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(Option, Index);
        if (FControl->OwnerDraw())
            size.setHeight(FControl->ItemHeight());
        return size;
    }

private:
    TOwnerDrawComboBox* FControl;
};

// Paints the closed box into an image (the toolkit's frame and button, the current item
// drawn by the owner when owner-drawn, then PaintOver), and hears the mouse and focus.
class ComboPainter : public QObject {
public:
    explicit ComboPainter(TOwnerDrawComboBox* AControl) : FControl(AControl) {}

    // At Ratio image pixels per unit: the screen's density on screen, 1 for PaintTo.
    void Render(QComboBox* Box, QImage& Image, bool Over, double Ratio)
    {
        Ratio = std::max(1.0, Ratio);
        Image = qtbridge::NewImage(std::max(Box->width(), 1), std::max(Box->height(), 1), Ratio, QImage::Format_RGB32,
                                   qtbridge::ToQColor(clBtnFace).rgb());
        QStyleOptionComboBox option;
        option.initFrom(Box);
        option.editable = Box->isEditable();
        option.frame = Box->hasFrame();
        option.subControls = QStyle::SC_All;
        option.iconSize = Box->iconSize();
        option.currentText = FControl->OwnerDraw() ? QString() : Box->currentText();
        {
            QPainter p(&Image);
            Box->style()->drawComplexControl(QStyle::CC_ComboBox, &option, &p, Box);
            Box->style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &p, Box);
        }
        if (FControl->OwnerDraw() && Box->currentIndex() >= 0) {
            const QRect field =
                Box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, Box);
            if (field.width() > 0 && field.height() > 0) {
                QImage item = qtbridge::NewImage(field.width(), field.height(), Ratio);
                TOwnerDrawState state = odComboBoxEdit;
                if (Box->hasFocus())
                    state |= odSelected | odFocused;
                OwnerDrawDelegate::DrawInto(FControl, item, Box->currentIndex(),
                                            TRect(field.left(), field.top(), field.right() + 1, field.bottom() + 1),
                                            state);
                QPainter p(&Image);
                p.drawImage(field.topLeft(), item);
            }
        }
        if (Over) {
            TCanvas canvas;
            qtbridge::AttachImage(canvas, &Image, false);
            GuardedCall([&] { FControl->PaintOver(&canvas); });
            qtbridge::Detach(canvas);
        }
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        auto* box = qobject_cast<QComboBox*>(Watched);
        if (box == nullptr || box != FControl->Widget())
            return false;
        switch (Event->type()) {
        case QEvent::Paint: {
            QImage image;
            Render(box, image, true, box->devicePixelRatio());
            QPainter p(box);
            p.drawImage(0, 0, image);
            return true;
        }
        case QEvent::Enter:
            GuardedCall([this] { FControl->MouseEnter(); });
            break;
        case QEvent::Leave:
            GuardedCall([this] { FControl->MouseLeave(); });
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            GuardedCall([this] { FControl->FocusChanged(); });
            break;
        default:
            break;
        }
        return false;
    }

private:
    TOwnerDrawComboBox* FControl;
};

struct TOwnerDrawComboBox::Impl {
    std::unique_ptr<ComboPainter> Painter;
};

namespace {
QComboBox* BoxOf(const TOwnerDrawComboBox* Control)
{
    return static_cast<QComboBox*>(Control->Widget());
}
} // namespace

TOwnerDrawComboBox::TOwnerDrawComboBox(TComponent* AOwner) : TComboBox(AOwner), d(std::make_unique<Impl>())
{
    d->Painter = std::make_unique<ComboPainter>(this);
    if (QComboBox* box = BoxOf(this)) {
        box->installEventFilter(d->Painter.get());
        box->setItemDelegate(new OwnerDrawDelegate(this, box));   // the box frees its delegate
    }
}

TOwnerDrawComboBox::~TOwnerDrawComboBox()
{
    if (QComboBox* box = BoxOf(this))
        box->removeEventFilter(d->Painter.get());
}

void TOwnerDrawComboBox::SetOwnerDraw(bool Value)
{
    FOwnerDraw = Value;
    Invalidate();
}

void TOwnerDrawComboBox::SetItemHeight(int Value)
{
    FItemHeight = std::max(Value, 1);
    Invalidate();
}

void TOwnerDrawComboBox::SetColor(TColor Value)
{
    FColor = Value;
    Invalidate();
}

intptr_t TOwnerDrawComboBox::Perform(int Msg, intptr_t WParam, intptr_t LParam)
{
    switch (Msg) {
    case CB_GETDROPPEDWIDTH:
        return DropDownWidth();
    case CB_SETDROPPEDWIDTH:
        SetDropDownWidth(static_cast<int>(WParam));
        return DropDownWidth();
    default:
        return 0;
    }
}

bool TOwnerDrawComboBox::Focused() const
{
    QComboBox* box = BoxOf(this);
    return box != nullptr && box->hasFocus();
}

void TOwnerDrawComboBox::Invalidate()
{
    if (QComboBox* box = BoxOf(this))
        box->update();
}

void TOwnerDrawComboBox::PaintTo(TBitmap* Bitmap)
{
    QComboBox* box = BoxOf(this);
    if (Bitmap == nullptr || box == nullptr)
        return;
    if (box->size() != QSize(Width(), Height()))
        box->resize(Width(), Height());
    QImage image;
    d->Painter->Render(box, image, true, 1);
    Bitmap->SetSize(image.width(), image.height());
    Bitmap->Canvas()->Flush();
    QPainter p(&Bitmap->impl().Image());
    p.drawImage(0, 0, image);
}

void TOwnerDrawComboBox::PaintItemTo(TBitmap* Bitmap, int Index, TOwnerDrawState State)
{
    if (Bitmap == nullptr)
        return;
    Bitmap->SetSize(std::max(Width(), 1), FItemHeight);
    Bitmap->Canvas()->Flush();
    OwnerDrawDelegate::DrawInto(this, Bitmap->impl().Image(), Index, TRect(0, 0, Bitmap->Width(), FItemHeight),
                                State);
}

void TOwnerDrawComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* canvas = Canvas();
    if (canvas == nullptr)
        return;
    canvas->FillRect(Rect);
    if (Index >= 0 && Index < Items()->Count()) {
        canvas->SetBkMode(TRANSPARENT);
        canvas->TextOut(Rect.Left + 2, Rect.Top, Items()->Get(Index));
    }
}
