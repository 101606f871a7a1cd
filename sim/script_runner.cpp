// The scenario script runner (mivorun-sim --script).
namespace mivo::sim {}
