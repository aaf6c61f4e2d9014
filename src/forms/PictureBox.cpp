// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/PictureBox.h"

#include "forms/MouseMoves.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tunefold {

namespace {

// Assistive tools see a picture, or a button they can press, not a bare
// client area.
class AccessiblePicture final : public QAccessibleWidget
{
public:
    explicit AccessiblePicture(PictureBox *box)
        : QAccessibleWidget(box, box->isPressable() ? QAccessible::Button : QAccessible::Graphic)
    {
    }

    [[nodiscard]] QAccessible::Role role() const override
    {
        return box()->isPressable() ? QAccessible::Button : QAccessible::Graphic;
    }

    [[nodiscard]] QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (box()->isPressable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && box()->isPressable())
            box()->pressLater();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    [[nodiscard]] PictureBox *box() const { return static_cast<PictureBox *>(widget()); }
};

QAccessibleInterface *accessiblePicture(const QString &className, QObject *object)
{
    if (className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new AccessiblePicture(static_cast<PictureBox *>(object));
    return nullptr;
}

} // namespace

PictureBox::PictureBox(const QString &file, const QString &name, QWidget *parent)
    : QWidget(parent), m_picture(file)
{
    static const bool described = (QAccessible::installFactory(accessiblePicture), true);
    Q_UNUSED(described);
    keepMouseMoves(this);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(name);
}

void PictureBox::setPressable(bool pressable)
{
    m_pressable = pressable;
    setFocusPolicy(pressable ? Qt::TabFocus : Qt::NoFocus);
    update();
}

void PictureBox::pressLater()
{
    QMetaObject::invokeMethod(this, &PictureBox::clicked, Qt::QueuedConnection);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture.pixmap(size(), devicePixelRatioF()));
    if (!hasFocus())
        return;
    // Black dashes on white over the picture's edge: seen on any colour,
    // and the picture's own colours stay as they are.
    const int width = std::max(1, height() / 24);
    const QRectF frame =
        QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0);
    painter.setPen(QPen(Qt::white, width));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, width, Qt::DotLine));
    painter.drawRect(frame);
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool press = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!m_pressable || !press || modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        Q_EMIT clicked();
}

} // namespace tunefold
