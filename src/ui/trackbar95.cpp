#include "ui/trackbar95.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace {

// Answers the thumb thickness of one track bar from its properties and
// leaves every other metric to the application's style.
class TTrackBarStyle : public QProxyStyle {
public:
    explicit TTrackBarStyle(const TTrackBar95 *bar) : m_bar(bar) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_SliderControlThickness && widget == m_bar && m_bar->FixedLength())
            return m_bar->ThumbSize();
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl sub, const QWidget *widget) const override
    {
        QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
        if (control == CC_Slider && sub == SC_SliderHandle && widget == m_bar && m_bar->FixedLength()
            && m_bar->orientation() == Qt::Horizontal) {
            // Some styles draw a thumb of their own thickness whatever the
            // metric says; centre a thumb of the asked thickness instead.
            const int thickness = m_bar->ThumbSize();
            rect.setTop(option->rect.center().y() - thickness / 2);
            rect.setHeight(thickness);
        }
        return rect;
    }

private:
    const TTrackBar95 *m_bar;
};

} // namespace

TTrackBar95::TTrackBar95(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    auto *style = new TTrackBarStyle(this);
    style->setParent(this);
    setStyle(style);
    setTickPosition(QSlider::NoTicks);
}

void TTrackBar95::setFixedLength(bool fixed)
{
    m_fixedLength = fixed;
    refresh();
}

void TTrackBar95::setSelEnabled(bool enabled)
{
    m_selEnabled = enabled;
    refresh();
}

void TTrackBar95::setThumb(bool shown)
{
    m_thumb = shown;
    refresh();
}

void TTrackBar95::setThumbSize(int pixels)
{
    m_thumbSize = qMax(1, pixels);
    refresh();
}

void TTrackBar95::refresh()
{
    updateGeometry();
    update();
}

void TTrackBar95::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    if (m_thumb)
        option.subControls |= QStyle::SC_SliderHandle;
    if (tickPosition() != NoTicks)
        option.subControls |= QStyle::SC_SliderTickmarks;
    if (isSliderDown())
        option.activeSubControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
