#pragma once
#include <QPixmap>

// The program's pictures, drawn rather than shipped as files.
namespace Pictures {

QPixmap Basketball(int size);
QPixmap Court(int width, int height);

} // namespace Pictures
