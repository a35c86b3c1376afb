#pragma once

#include <QList>
#include <QString>
#include <QVariant>

/// The cells of one row of a row tree (or, at the root, the column names), in column order.
class VariantItems : public QList<QVariant>
{
public:
    using QList<QVariant>::QList;
    VariantItems() = default;
    VariantItems(const QList<QVariant> &items)
        : QList<QVariant>(items)
    {
    }
    VariantItems(QList<QVariant> &&items) noexcept
        : QList<QVariant>(std::move(items))
    {
    }

    /// Every cell as QVariant::toString(); a null cell gives "".
    [[nodiscard]] QList<QString> toVectorString() const
    {
        QList<QString> texts;
        texts.reserve(size());
        for (const QVariant &cell : *this) {
            texts.append(cell.toString());
        }
        return texts;
    }
};
