#pragma once

#include <QIcon>

// The toolbar's icons, drawn at run time so the program needs no image files.
class IconPainter
{
public:
    enum class Kind { Exit, Open, Save, Upload, Download, Connect };

    static QIcon icon(Kind kind);

private:
    static QPixmap draw(Kind kind, int size, bool on);
};
