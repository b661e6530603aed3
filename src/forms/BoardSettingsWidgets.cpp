#include "BoardSettingsWidgets.h"

#include "UnitDialogFunctions.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>

namespace {

constexpr QSize ShapeSize(41, 21);
constexpr QSize PreviewSize(64, 64);
constexpr int NoneTextTag = 4320;

} // namespace

TColorShape::TColorShape(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(ShapeSize);
}

QSize TColorShape::sizeHint() const {
    return ShapeSize;
}

void TColorShape::SetBrushColor(const QColor& color) {
    FBrush = color;
    update();
}

void TColorShape::ChooseColor() {
    if (const std::optional<QColor> chosen = PromptColor(FBrush, this)) SetBrushColor(*chosen);
}

void TColorShape::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(contentsRect(), FBrush);
    QFrame::paintEvent(event);
}

void TColorShape::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) ChooseColor();
}

TPicturePreview::TPicturePreview(const QString& imageName, const QString& emptyTextName, QWidget* parent)
    : QFrame(parent), FEmptyText(new QLabel("(ohne)", this)), FImage(new QLabel(this)) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(PreviewSize);
    FEmptyText->setObjectName(emptyTextName);
    FEmptyText->setProperty("Tag", NoneTextTag);
    FEmptyText->setAlignment(Qt::AlignCenter);
    FImage->setObjectName(imageName);
    FImage->setAlignment(Qt::AlignCenter);
    auto* stack = new QStackedLayout(this);
    stack->setContentsMargins(2, 2, 2, 2);
    stack->addWidget(FEmptyText);
    stack->addWidget(FImage);
}

QSize TPicturePreview::sizeHint() const {
    return PreviewSize;
}

void TPicturePreview::SetPicture(const QImage& picture) {
    FPicture = picture;
    ShowPicture();
}

// The picture is shown whole, shrunk to the panel but never enlarged, so a small tile keeps its pixels.
void TPicturePreview::ShowPicture() {
    auto* stack = static_cast<QStackedLayout*>(layout());
    if (FPicture.isNull()) {
        FImage->clear();
        stack->setCurrentWidget(FEmptyText);
        return;
    }
    const QSize room = contentsRect().size() - QSize(4, 4);
    QImage shown = FPicture;
    if (shown.width() > room.width() || shown.height() > room.height())
        shown = shown.scaled(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    FImage->setPixmap(QPixmap::fromImage(shown));
    stack->setCurrentWidget(FImage);
}

void TPicturePreview::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (!FPicture.isNull()) ShowPicture();
}
