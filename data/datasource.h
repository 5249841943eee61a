#pragma once
// The link between a record set and the controls that show it ("DS" + the set's name). Turning
// it off lets a long fill run without every bound control following each row.

#include <QObject>

class RecordSet;

class DataSource : public QObject
{
    Q_OBJECT
public:
    DataSource(const QString &name, RecordSet *set, QObject *parent = nullptr)
        : QObject(parent), m_set(set)
    {
        setObjectName(name);
    }
    RecordSet *dataSet() const { return m_set; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on)
    {
        if (on == m_enabled)
            return;
        m_enabled = on;
        emit enabledChanged(on);
    }

signals:
    void enabledChanged(bool on);

private:
    RecordSet *m_set;
    bool m_enabled = true;
};
