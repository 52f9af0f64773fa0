#include "adapter/consumers.h"

#include <atomic>

namespace tramsoll {

namespace {
LiveDataSink noLiveData;
AdapterStatusSink noAdapterStatus;
BusLogSink noBusLog;
std::atomic<LiveDataSink*> liveData{&noLiveData};
std::atomic<AdapterStatusSink*> adapterStatus{&noAdapterStatus};
std::atomic<BusLogSink*> busLog{&noBusLog};
}  // namespace

LiveDataSink& liveDataSink() { return *liveData.load(); }
AdapterStatusSink& adapterStatusSink() { return *adapterStatus.load(); }
BusLogSink& busLogSink() { return *busLog.load(); }

void setLiveDataSink(LiveDataSink* sink) { liveData.store(sink ? sink : &noLiveData); }
void setAdapterStatusSink(AdapterStatusSink* sink) { adapterStatus.store(sink ? sink : &noAdapterStatus); }
void setBusLogSink(BusLogSink* sink) { busLog.store(sink ? sink : &noBusLog); }

}  // namespace tramsoll
