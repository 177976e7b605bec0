#pragma once
#include "ui/MenuImageSource.h"

// The pictures of the menu commands outside the main toolbar's strip: asks one source,
// then the other (the annotation tools' strip, then the editors' icons).
class CMenuImages : public IMenuImageSource {
public:
    CMenuImages(const IMenuImageSource& first, const IMenuImageSource& second) : m_first(first), m_second(second) {}

    bool GetMenuImage(UINT command, HIMAGELIST& images, int& index) const override
    {
        return m_first.GetMenuImage(command, images, index) || m_second.GetMenuImage(command, images, index);
    }

private:
    const IMenuImageSource& m_first;
    const IMenuImageSource& m_second;
};
