// mivorun-sim: the controller on the simulated platform.
int main() { return 0; }
