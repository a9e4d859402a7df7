#pragma once
// The players' track bar: a horizontal slider whose thumb can be given a
// fixed thickness across the track, hidden altogether, and which keeps a
// flag for a shown selection range. The bar owns the small style object
// that answers its thumb metrics. Interface thread only.

#include <QSlider>

class TTrackBar95 : public QSlider {
    Q_OBJECT
    Q_PROPERTY(bool FixedLength READ FixedLength WRITE setFixedLength)
    Q_PROPERTY(bool SelEnabled READ SelEnabled WRITE setSelEnabled)
    Q_PROPERTY(bool Thumb READ Thumb WRITE setThumb)
    Q_PROPERTY(int ThumbSize READ ThumbSize WRITE setThumbSize)
public:
    explicit TTrackBar95(QWidget *parent = nullptr);

    // With a fixed length the thumb is ThumbSize pixels thick across the
    // track; without it the platform style decides.
    bool FixedLength() const { return m_fixedLength; }
    void setFixedLength(bool fixed);

    // Whether a selection range is shown on the track. The players never
    // set a range, so the flag only travels with the bar.
    bool SelEnabled() const { return m_selEnabled; }
    void setSelEnabled(bool enabled);

    // Whether the thumb is drawn at all.
    bool Thumb() const { return m_thumb; }
    void setThumb(bool shown);

    // The thumb's thickness across the track when FixedLength is set.
    int ThumbSize() const { return m_thumbSize; }
    void setThumbSize(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Every property change re-lays out and repaints the bar, as the
    // thumb's geometry may have changed.
    void refresh();

    bool m_fixedLength = false;
    bool m_selEnabled = false;
    bool m_thumb = true;
    int m_thumbSize = 20;
};
