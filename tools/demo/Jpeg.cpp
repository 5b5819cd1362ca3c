#include <QBuffer>
#include <QImage>
#include <stdexcept>

#include "demo/DemoData.h"
#include "platform/Image.h"

namespace mirel::demo {

Bytes EncodeJpeg(const Image& img, int quality) {
  QImage q(img.width, img.height, QImage::Format_RGB32);
  for (int y = 0; y < img.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(q.scanLine(y));
    for (int x = 0; x < img.width; ++x) row[x] = 0xFF000000u | img.At(x, y);
  }
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  if (!q.save(&buffer, "JPG", quality)) throw std::runtime_error("JPEG writing is not available (Qt image plugin)");
  return Bytes(out.begin(), out.end());
}

}  // namespace mirel::demo
