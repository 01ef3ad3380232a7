#pragma once

#include <string>
#include <string_view>

namespace tamo {

// The scale the stage view shows the stage image at: one of 1/8, 1/4, 1/2, 1, 2, 3 and 4.
// Below 1 the view shows the reduced copies of the image, at 1 and above every image pixel
// becomes a square of view pixels.
class MapZoom
{
public:
    // 1:1.
    MapZoom() = default;

    // The zoom a setting names ("1/8", "1/4", "1/2", "1", "2", "3", "4"); any other text
    // gives 1:1.
    static MapZoom FromSetting(std::string_view setting);
    std::string setting() const;
    // As the status bar shows it: "12.5%" ... "400%".
    std::string text() const;

    // One step further, or the same zoom at the end of the steps.
    MapZoom zoomedIn() const;
    MapZoom zoomedOut() const;

    int numerator() const;
    int denominator() const;
    // 0 at 1 and above; 1, 2 or 3 for the copies reduced by 2, 4 or 8.
    int reduction() const;

    // An image pixel position or length as the view shows it, and back. A view pixel
    // stands for the image pixel at its top-left corner, so toImage(toView(x)) gives x back
    // wherever the view keeps x; both round toward minus infinity, also left of the image.
    int toView(int imagePixels) const;
    int toImage(int viewPixels) const;
    // One cell: 32 image pixels in view pixels.
    int scrollStep() const;

    friend bool operator==(const MapZoom &, const MapZoom &) = default;

private:
    explicit MapZoom(int step)
        : m_step(step)
    {
    }

    int m_step = 3; // the index of 1:1 among the steps
};

} // namespace tamo
