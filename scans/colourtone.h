#ifndef COLOURTONE_H
#define COLOURTONE_H

#include <QImage>

// Colours made to carry on a colour e-ink screen, whose panel shows them
// pale: their saturation raised, and a gamma for the middle tones. Both
// leave a grey pixel grey: the saturation moves each channel away from the
// pixel's own lightness, and the gamma bends every channel alike. Any
// thread.
class ColourTone
{
public:
    // boost: percent more saturation (0 for none); gamma in hundredths
    // (100 for none; above 100 lightens the middle tones).
    ColourTone(int boost, int gamma);

    bool isIdentity() const { return m_boost == 0 && m_gamma == 100; }
    // The picture toned; as it is when there is nothing to do. A grey
    // picture stays grey.
    QImage applied(const QImage &picture) const;

private:
    int m_boost;
    int m_gamma;
};

#endif // COLOURTONE_H
