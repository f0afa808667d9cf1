#pragma once

#include <QIcon>
#include <QString>

#include <vector>

// A list of pictures reached by 1-based index or by key.
class ImageList
{
public:
    void Add(const QString &key, const QIcon &picture);
    // Empty icon for an index or key that is not there.
    QIcon Picture(int index) const;
    QIcon Picture(const QString &key) const;
    int Count() const { return static_cast<int>(m_pictures.size()); }
    // The index of a key, 0 when not there.
    int IndexOf(const QString &key) const;

private:
    std::vector<std::pair<QString, QIcon>> m_pictures;
};
