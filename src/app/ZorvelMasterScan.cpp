#include "app/Zorvel.h"

// The master scans. Not built yet: the lists stay empty and no scan ever runs.

QList<CodServerPtr> Zorvel::activeCodServers() const { return m_activeCodServers; }
QList<CodServerPtr> Zorvel::activeUOServers() const { return m_activeUOServers; }
QList<CodServerPtr> Zorvel::activeCod2Servers() const { return m_activeCod2Servers; }
QList<CodServerPtr> Zorvel::activeCod4Servers() const { return m_activeCod4Servers; }

void Zorvel::scanCodServers() {}
void Zorvel::scanUOServers() {}
void Zorvel::scanCod2Servers() {}
void Zorvel::scanCod4Servers() {}
void Zorvel::scanCodServersStop() {}
void Zorvel::scanUOServersStop() {}
void Zorvel::scanCod2ServersStop() {}
void Zorvel::scanCod4ServersStop() {}

bool Zorvel::codRefreshState() const { return m_codMasterIsRefreshing; }
bool Zorvel::uoRefreshState() const { return m_uoMasterIsRefreshing; }
bool Zorvel::cod2RefreshState() const { return m_cod2MasterIsRefreshing; }
bool Zorvel::cod4RefreshState() const { return m_cod4MasterIsRefreshing; }
