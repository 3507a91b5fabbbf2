// The sample application as a module: started by its name ("Main Module"), main() is that of the class this
// module's descriptor names (jar --main-class).
module com.example.hello {
    requires java.desktop;
}
