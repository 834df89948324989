#include "app/Splash.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

TfrmSplash::TfrmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_tmrClose(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(420, 240);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_tmrClose->setObjectName(QStringLiteral("tmrClose"));
    m_tmrClose->setSingleShot(true);
    m_tmrClose->setInterval(3000);
    connect(m_tmrClose, &QTimer::timeout, this, &QWidget::close);
    m_tmrClose->start();
}

void TfrmSplash::paintEvent(QPaintEvent *)
{
    // The picture: a winter sky over a ski track, with the name.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(24, 60, 110));
    sky.setColorAt(0.7, QColor(120, 170, 210));
    sky.setColorAt(1.0, QColor(235, 240, 245));
    painter.fillRect(rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 250, 252));
    QPainterPath snow;
    snow.moveTo(0, height() * 0.75);
    snow.cubicTo(width() * 0.3, height() * 0.62, width() * 0.6, height() * 0.88, width(), height() * 0.7);
    snow.lineTo(width(), height());
    snow.lineTo(0, height());
    snow.closeSubpath();
    painter.drawPath(snow);
    painter.setPen(QPen(QColor(150, 160, 175), 2));
    painter.drawLine(QPointF(width() * 0.15, height() * 0.95), QPointF(width() * 0.55, height() * 0.78));
    painter.drawLine(QPointF(width() * 0.19, height() * 0.97), QPointF(width() * 0.59, height() * 0.8));

    painter.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, 30, width(), 60), Qt::AlignHCenter, QStringLiteral("Ternvall"));
    QFont sub = font();
    sub.setPointSize(11);
    painter.setFont(sub);
    painter.drawText(QRect(0, 90, width(), 30), Qt::AlignHCenter, QStringLiteral("Träningsdagbok  ·  Version 2.3.0"));
}

void TfrmSplash::closeEvent(QCloseEvent *event)
{
    m_tmrClose->stop();
    QWidget::closeEvent(event);
}
