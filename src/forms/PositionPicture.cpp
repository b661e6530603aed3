#include "PositionPicture.h"

#include "ChessBrd.h"
#include "FileSaving.h"
#include "JpegImage.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

QImage PositionPicture(const TChessBrd& board, const QColor& marginColor) {
    // The board's own image, not the screen: a board larger than its panel is taken whole.
    QImage shown = board.BoardPicture();
    const int margin = qRound(PictureMargin * shown.devicePixelRatio());
    shown.setDevicePixelRatio(1); // copied pixel for pixel, not scaled to the screen's size
    QImage picture(shown.width() + margin, shown.height() + margin, QImage::Format_RGB32);
    picture.fill(marginColor);
    QPainter painter(&picture);
    painter.drawImage(QPoint(0, 0), shown);
    painter.end();
    picture.setDotsPerMeterX(shown.dotsPerMeterX());
    picture.setDotsPerMeterY(shown.dotsPerMeterY());
    return picture;
}

TPictureFormat PictureFormatForFile(const QString& fileName) {
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    if (extension == "BMP") return TPictureFormat::Bitmap;
    if (extension == "PNG") return TPictureFormat::Png;
    return TPictureFormat::Jpeg;
}

QByteArray EncodePicture(const QImage& picture, TPictureFormat format, int jpegQuality) {
    if (format == TPictureFormat::Jpeg) return EncodeJpeg(picture, jpegQuality);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format == TPictureFormat::Bitmap ? "BMP" : "PNG");
    return bytes;
}

bool SavePictureFile(const QString& fileName, const QImage& picture, int jpegQuality, QString* error) {
    const QByteArray bytes = EncodePicture(picture, PictureFormatForFile(fileName), jpegQuality);
    if (bytes.isEmpty()) {
        if (error)
            *error = QString("no picture of %1 x %2 pixels can be made")
                         .arg(picture.width())
                         .arg(picture.height());
        return false;
    }
    return SaveFileWhole(fileName, bytes, error);
}

void CopyPictureToClipboard(const QImage& picture, int snapshotFormat, int jpegQuality) {
    auto* data = new QMimeData;
    if (snapshotFormat == 0)
        data->setImageData(picture);
    else
        data->setData(JpegMimeType, EncodeJpeg(picture, jpegQuality));
    QGuiApplication::clipboard()->setMimeData(data);
}
