#pragma once
// The clock record of one player: how many moves he has made and how much time he has used in all
// and per move. Game files store the three fields as they lie in memory, 12 bytes in this order.

#include <QString>
#include <QtGlobal>
#include <type_traits>

class TPlayerStatistik {
public:
    qint32 MoveCount = 0;
    qint32 TimePerMove = 0; // milliseconds
    quint32 TotalTime = 0;  // milliseconds

    void Clear();
    // Charges `milliseconds` to the total; the average follows once there are moves and time.
    void AddTime(quint32 milliseconds);

    QString TotalText() const;
    QString PerMoveText() const;
};

static_assert(std::is_standard_layout_v<TPlayerStatistik> && std::is_trivially_copyable_v<TPlayerStatistik>);
static_assert(sizeof(TPlayerStatistik) == 12);
