#pragma once
// Copying rows into a record set must neither check nor write them: this takes one event
// handler off a record set for its lifetime and puts it back on every way out.

#include "data/recordset.h"

class DetachedHandler
{
public:
    // For example DetachedHandler keep(DM->saldo_data->beforePost);
    explicit DetachedHandler(RecordSet::Handler &handler) : m_handler(handler), m_saved(handler)
    {
        m_handler = nullptr;
    }
    ~DetachedHandler() { m_handler = m_saved; }
    DetachedHandler(const DetachedHandler &) = delete;
    DetachedHandler &operator=(const DetachedHandler &) = delete;

private:
    RecordSet::Handler &m_handler;
    RecordSet::Handler m_saved;
};
