#pragma once

#include <QProxyStyle>

// Small check boxes close to their captions, whose indicator stands out under any desktop
// palette: its frame from the window around it, its mark from the box's fill, each by the line
// contrast. The styles' own indicators take their frame from the window colour and can all but
// vanish on a dark one.
class CheckBoxStyle : public QProxyStyle {
    Q_OBJECT
public:
    // One for the whole run, owned by the application.
    static CheckBoxStyle *instance();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    CheckBoxStyle() = default;
};
