#include "windows/ImageList.h"

void ImageList::Add(const QString &key, const QIcon &picture)
{
    m_pictures.emplace_back(key, picture);
}

QIcon ImageList::Picture(int index) const
{
    if (index < 1 || index > Count())
        return {};
    return m_pictures[index - 1].second;
}

QIcon ImageList::Picture(const QString &key) const
{
    return Picture(IndexOf(key));
}

int ImageList::IndexOf(const QString &key) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_pictures[i].first == key)
            return i + 1;
    }
    return 0;
}
