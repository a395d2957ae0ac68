#include "ui/common/ui_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pelko {

namespace {

QPixmap Canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon FilterKindIcon(TFilterKind kind) {
    QPixmap pixmap = Canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case TFilterKind::Include:
        p.setBrush(QColor(0x2E, 0x9D, 0x3A));
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(4, 7, 8, 2);
        p.drawRect(7, 4, 2, 8);
        break;
    case TFilterKind::Exclude:
        p.setBrush(QColor(0xD0, 0x30, 0x30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(4, 7, 8, 2);
        break;
    case TFilterKind::Undo: {
        p.setPen(QPen(QColor(0x30, 0x60, 0xC0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(3, 3, 10, 10, 90 * 16, -270 * 16);
        QPainterPath head;
        head.moveTo(8, 0);
        head.lineTo(8, 6);
        head.lineTo(4, 3);
        head.closeSubpath();
        p.fillPath(head, QColor(0x30, 0x60, 0xC0));
        break;
    }
    }
    return QIcon(pixmap);
}

QIcon ApplicationIcon() {
    QPixmap pixmap = Canvas(64);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient ball(24, 22, 40);
    ball.setColorAt(0, QColor(0xFF, 0xE0, 0x80));
    ball.setColorAt(1, QColor(0xE0, 0x80, 0x10));
    p.setBrush(ball);
    p.setPen(Qt::NoPen);
    p.drawEllipse(2, 2, 60, 60);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(26);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("45"));
    p.end();
    return QIcon(pixmap);
}

} // namespace pelko
