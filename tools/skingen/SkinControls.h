// Four-frame strips for every control kind of the main panel.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace skin {

enum class ButtonStyle { Neutral, Primary, Danger, Title };
enum class Icon { None, Identify, Power, Restart, Settings, Check };

// Push button: normal, hover (never shown by the panel), pressed, disabled.
QImage buttonStrip(QSize frame, const QString& caption, ButtonStyle style, Icon icon);
// Upper (+) or lower (-) half of an adjuster pair.
QImage stepperStrip(QSize frame, bool increment);
// Labelled on/off switch: off, on, off disabled, on disabled.
QImage switchStrip(QSize frame, const QString& label);
QImage checkStrip(QSize frame);
QImage radioStrip(QSize frame);
QImage deviceRadioStrip(QSize frame);
// Number box: normal, hover, focused, disabled.
QImage editStrip(QSize frame);
// Slider thumb and bar share their state index.
QImage sliderThumbStrip(QSize frame);
// `stops` are the stop centres measured from the bar's top edge.
QImage sliderBarStrip(QSize frame, const QList<int>& stops);

} // namespace skin
