// The benchmark families of mivorun-bench, registered by main in this order.
#pragma once

namespace mivo::bench {

void RegisterControllerBenches();
void RegisterIniBenches();

}  // namespace mivo::bench
