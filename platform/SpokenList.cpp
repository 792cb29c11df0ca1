#include "SpokenList.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>

namespace {

// On Windows and macOS the platform's accessibility layer reports a combo box's value itself. Through AT-SPI
// (Linux) a closed combo box reports nothing when its entry changes, and Orca ignores changes of its name and
// description; it does speak an entry of the list's popup view that takes the focus, even while the popup is
// closed.
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
constexpr bool kSpeakThroughPopupView = false;
#else
constexpr bool kSpeakThroughPopupView = true;
#endif

class ListSpeaker : public QObject {
public:
    explicit ListSpeaker(QComboBox* list) : QObject(list), m_list(list) {
        connect(list, &QComboBox::currentIndexChanged, this, &ListSpeaker::selectionChanged);
        QAbstractItemModel* model = list->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &ListSpeaker::describe);
        connect(model, &QAbstractItemModel::modelReset, this, &ListSpeaker::describe);
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                    if (roles.isEmpty() || roles.contains(kReadRole))
                        describe();
                });
        describe();
    }

private:
    // Said after the list's name and role when it takes the focus.
    void describe() { m_list->setAccessibleDescription(entryAndPosition(m_list)); }

    void selectionChanged() {
        describe();
        if (m_list->hasFocus())
            speak();
    }

    // The entry is spoken under its accessible text, which carries the position; the row spoken before gets
    // back its plain text, so the open popup reads as it shows.
    void speak() {
        const int row = m_list->currentIndex();
        if (!kSpeakThroughPopupView || row < 0)
            return;
        QAbstractItemModel* model = m_list->model();
        if (m_spokenRow.isValid() && m_spokenRow.row() != row)
            model->setData(m_spokenRow, QVariant(), Qt::AccessibleTextRole);
        m_spokenRow = model->index(row, m_list->modelColumn(), m_list->rootModelIndex());
        model->setData(m_spokenRow, entryAndPosition(m_list), Qt::AccessibleTextRole);
        QAccessibleEvent event(m_list->view(), QAccessible::Focus);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }

    QComboBox* m_list;
    QPersistentModelIndex m_spokenRow;
};

} // namespace

QString entryAndPosition(const QComboBox* list) {
    const int row = list->currentIndex();
    if (list->count() == 0)
        return QStringLiteral("elenco vuoto");
    if (row < 0)
        return QStringLiteral("nessuna voce scelta, %1 voci").arg(list->count());
    const bool read = list->itemData(row, kReadRole).toBool();
    return QStringLiteral("%1, %2%3 di %4")
        .arg(list->currentText(), read ? QStringLiteral("letto, ") : QString())
        .arg(row + 1)
        .arg(list->count());
}

void speakEntries(QComboBox* list) {
    new ListSpeaker(list);
}
