int app_main(int argc, char** argv);
int main(int argc, char** argv) { return app_main(argc, argv); }
