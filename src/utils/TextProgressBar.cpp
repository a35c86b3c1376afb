#include "utils/TextProgressBar.h"

#include <cstdio>

void TextProgressBar::setStatus(qint64 done, qint64 total)
{
    m_done = done;
    m_total = total;
}

void TextProgressBar::setMessage(const QString &message)
{
    m_message = message;
}

void TextProgressBar::update()
{
    std::fputs(m_updates == 0 ? "Downloading" : ".", stdout);
    // Unbuffered in effect: a dot that appears only at the end of the job shows no progress.
    std::fflush(stdout);
    ++m_updates;
}

void TextProgressBar::clear()
{
    std::fputs("\n", stdout);
    std::fflush(stdout);
    m_done = 0;
    m_total = -1;
    m_updates = 0;
}
